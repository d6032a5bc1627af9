// Stand-in for the few Win32 declarations that the add-on and the stand-in host use, on systems
// other than Windows. On Windows this directory is not on the include path and the real header is
// used. Names, types and widths follow Win32 (DWORD is 32 bits everywhere).
#pragma once

#include <cstdint>

typedef std::uint32_t DWORD;
typedef std::uint16_t WORD;
typedef std::uint8_t BYTE;
typedef int BOOL;
typedef unsigned int UINT;
typedef std::int32_t LONG;
typedef void* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef void* HWND;
typedef void* HDC;
typedef void* HANDLE;
typedef void* LPVOID;
typedef const char* LPCSTR;
typedef std::intptr_t LPARAM;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LRESULT;
typedef std::intptr_t (*FARPROC)();

typedef union _LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    std::int64_t QuadPart;
} LARGE_INTEGER;

typedef struct tagRECT {
    LONG left, top, right, bottom;
} RECT;

#define WINAPI
#define APIENTRY
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#define MB_OK 0x00000000u
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define IDOK 1
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT 0x00000002u
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS 0x00000004u

extern "C" {

// Loads a shared library. Backslashes in the path become slashes; the path is otherwise used as
// given (relative paths resolve from the working directory). Returns null on failure.
HMODULE LoadLibraryA(LPCSTR path);

// Looks up an exported symbol by name; null if the module or the symbol is missing.
FARPROC GetProcAddress(HMODULE module, LPCSTR name);

// Drops one reference to a loaded library; nonzero on success.
BOOL FreeLibrary(HMODULE module);

// Finds the module that contains an address (flags must include GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS).
// With GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT the module's reference count is left as it was.
BOOL GetModuleHandleExA(DWORD flags, LPCSTR addressOrName, HMODULE* module);

// Attributes of a file or directory: FILE_ATTRIBUTE_DIRECTORY for a directory, FILE_ATTRIBUTE_NORMAL
// for anything else that exists, INVALID_FILE_ATTRIBUTES when nothing is there. Backslashes in the
// path become slashes, as for LoadLibraryA.
DWORD GetFileAttributesA(LPCSTR path);

// Writes caption and text to stderr, hands them to the installed observer (winstub.h) and returns IDOK.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Monotonic counter and its frequency in ticks per second.
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
}
