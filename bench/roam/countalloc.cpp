// Counting allocator of the benchmark program: every allocation of the program passes here.
#include <cstdlib>
#include <new>

namespace {
long allocs;
}

long allocationcount()
{
    return allocs;
}

void* operator new(std::size_t n)
{
    ++allocs;
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}

void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    ++allocs;
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
