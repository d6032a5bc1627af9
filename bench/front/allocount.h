// Counts heap allocations of the whole process (malloc, calloc, realloc and everything built on
// them, operator new included) by interposing the C allocator in the benchmark binary.
#pragma once

#include <cstdint>

std::uint64_t allocations();
