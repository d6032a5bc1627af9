// The few parts of the C++ runtime the DLL needs and cannot import: msvcrt.dll has neither the MSVC
// operator new/delete nor type_info's vftable, and the GNU-ABI libstdc++ that would hold the throw
// helpers does not link here. Failures are thrown as a type of our own; the add-on catches everything at
// its boundary anyway.
#include <cstddef>
#include <cstdlib>
#include <new>

// Named, not anonymous: clang names an anonymous namespace after a hash of the source file's path, and
// these types' names go into the DLL, which must come out the same bytes wherever it is built.
namespace msvcabi {

struct OutOfMemory { };
struct LengthError { };

} // namespace msvcabi

namespace {

void __cdecl typeInfoDestroy() { }

} // namespace

// The vftable of std::type_info, which the compiler's RTTI records point at. Nothing ever destroys a
// type_info through it, so its single slot only has to be a function.
extern "C" void (*const typeInfoVftable[])() __asm__("??_7type_info@@6B@");
extern "C" void (*const typeInfoVftable[])() = {typeInfoDestroy};

void* operator new(std::size_t size)
{
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw msvcabi::OutOfMemory();
    return block;
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete[](void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}

namespace std {

void __throw_length_error(const char*)
{
    throw msvcabi::LengthError();
}

void __throw_bad_alloc()
{
    throw msvcabi::OutOfMemory();
}

void __throw_bad_array_new_length()
{
    throw msvcabi::OutOfMemory();
}

} // namespace std
