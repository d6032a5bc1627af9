// Counting allocator of a benchmark program (countalloc.cpp): every allocation through operator new
// passes there.
#pragma once

#include <cstddef>

// Allocations since the program started.
long allocationcount();

// From now on, also count the allocations of exactly `size` bytes (one size at a time).
void watchSize(std::size_t size);
long watchedAllocations();
