// Counts the program's heap allocations through operator new and can make non-throwing ones fail, by
// replacing the global operator new and delete of every test or benchmark program that links the
// alloc_spy library. The engine allocates only through operator new, so this sees all of its heap.
#pragma once

#include <cstddef>

namespace allocspy {

// Allocations and frees (all forms) since the program started.
long allocations();
long frees();

// From now on, let `n` more non-throwing allocations succeed and fail every later one;
// a negative n lets all succeed again.
void failnothrowafter(long n);

// From now on, also count the allocations of exactly `size` bytes (one size at a time; 0: none).
void watchsize(std::size_t size);
long watchedallocations();

} // namespace allocspy
