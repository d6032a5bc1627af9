// Counting allocator of the benchmark program: every allocation of the program passes here.
#include "countalloc.h"

#include <cstdlib>
#include <new>

namespace {
long allocs;
std::size_t watched;
long watchedAllocs;

void count(std::size_t n)
{
    ++allocs;
    if (watched && n == watched)
        ++watchedAllocs;
}
} // namespace

long allocationcount()
{
    return allocs;
}

void watchSize(std::size_t size)
{
    watched = size;
}

long watchedAllocations()
{
    return watchedAllocs;
}

void* operator new(std::size_t n)
{
    count(n);
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}

void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    count(n);
    return std::malloc(n ? n : 1);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
