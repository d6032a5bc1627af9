#include "allocspy.h"

#include <cstdlib>
#include <new>

namespace {

long allocs;
long releases;
long nothrowleft = -1;
std::size_t watched;
long watchedallocs;

void* take(std::size_t n)
{
    return std::malloc(n ? n : 1);
}

void counted(std::size_t n)
{
    ++allocs;
    if (watched && n == watched)
        ++watchedallocs;
}

} // namespace

long allocspy::allocations()
{
    return allocs;
}
long allocspy::frees()
{
    return releases;
}
void allocspy::failnothrowafter(long n)
{
    nothrowleft = n;
}
void allocspy::watchsize(std::size_t size)
{
    watched = size;
}
long allocspy::watchedallocations()
{
    return watchedallocs;
}

void* operator new(std::size_t n)
{
    void* p = take(n);
    if (!p)
        throw std::bad_alloc();
    counted(n);
    return p;
}

void* operator new[](std::size_t n)
{
    return operator new(n);
}

void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    if (nothrowleft == 0)
        return nullptr;
    if (nothrowleft > 0)
        --nothrowleft;
    void* p = take(n);
    if (p)
        counted(n);
    return p;
}

void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept
{
    return operator new(n, t);
}

void operator delete(void* p) noexcept
{
    if (p)
        ++releases;
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    operator delete(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    operator delete(p);
}
