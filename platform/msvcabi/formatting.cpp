// MinGW's <stdio.h> sends snprintf to its own C99 formatter, which lives in a GNU-ABI library. This one
// keeps its contract (always terminated, returns the full length) on top of msvcrt.dll.
#include <cstdarg>
#include <cstddef>

extern "C" int __cdecl _vsnprintf(char* buffer, std::size_t size, const char* format, va_list args);
extern "C" int __cdecl _vscprintf(const char* format, va_list args);

extern "C" int __cdecl __mingw_vsnprintf(char* buffer, std::size_t size, const char* format, va_list args)
{
    va_list counting;
    va_copy(counting, args);
    const int length = _vscprintf(format, counting);
    va_end(counting);
    if (buffer && size > 0) {
        _vsnprintf(buffer, size, format, args);
        buffer[size - 1] = '\0';
        if (length >= 0 && static_cast<std::size_t>(length) < size)
            buffer[length] = '\0';
    }
    return length;
}
