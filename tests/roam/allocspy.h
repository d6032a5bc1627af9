// Counts the program's heap allocations and can make non-throwing ones fail, by replacing the
// global operator new and delete of the test program that links allocspy.cpp.
#pragma once

namespace allocspy {

// Allocations and frees (all forms) since the program started.
long allocations();
long frees();

// From now on, let `n` more non-throwing allocations succeed and fail every later one;
// a negative n lets all succeed again.
void failnothrowafter(long n);

} // namespace allocspy
