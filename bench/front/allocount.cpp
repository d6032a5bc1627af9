#include "allocount.h"

#include <atomic>
#include <cstddef>

// glibc's own allocator under the counting one (the reserved names are glibc's, not ours).
extern "C" { // NOLINTBEGIN(bugprone-reserved-identifier)
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t n, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void __libc_free(void* p);
} // NOLINTEND(bugprone-reserved-identifier)

namespace {
std::atomic<std::uint64_t> count {0};
}

std::uint64_t allocations()
{
    return count.load(std::memory_order_relaxed);
}

extern "C" {

void* malloc(std::size_t size)
{
    count.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}

void* calloc(std::size_t n, std::size_t size)
{
    count.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(n, size);
}

void* realloc(void* p, std::size_t size)
{
    count.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, size);
}

void free(void* p)
{
    __libc_free(p);
}
}
