// Win32 stand-in for systems other than Windows: dynamic loading over dlopen, the message box as a
// line on stderr plus an observer, and the performance counter over the monotonic clock.
#include <windows.h>
#include <winstub.h>

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#define WINSTUB_API __attribute__((visibility("default")))

namespace {

WinMessageObserver messageObserver = nullptr;
void* messageContext = nullptr;

std::string localPath(const char* path)
{
    std::string out(path ? path : "");
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

} // namespace

extern "C" {

WINSTUB_API int winstubLocalPath(const char* path, char* out, unsigned size)
{
    if (!out || size == 0)
        return 0;
    const std::string local = localPath(path);
    if (local.size() + 1 > size) {
        out[0] = '\0';
        return 0;
    }
    std::memcpy(out, local.c_str(), local.size() + 1);
    return 1;
}

WINSTUB_API HMODULE LoadLibraryA(LPCSTR path)
{
    if (!path || !*path)
        return nullptr;
    std::string local = localPath(path);
    // dlopen searches the library path for a bare name; the Win32 loader looks in the working
    // directory first, so a bare name is taken relative to it.
    if (local.find('/') == std::string::npos)
        local = "./" + local;
    return dlopen(local.c_str(), RTLD_NOW | RTLD_LOCAL);
}

WINSTUB_API FARPROC GetProcAddress(HMODULE module, LPCSTR name)
{
    if (!module || !name)
        return nullptr;
    void* symbol = dlsym(module, name);
    FARPROC proc = nullptr;
    static_assert(sizeof proc == sizeof symbol, "code and data pointers have one width");
    std::memcpy(&proc, &symbol, sizeof proc);
    return proc;
}

WINSTUB_API BOOL FreeLibrary(HMODULE module)
{
    if (!module)
        return FALSE;
    return dlclose(module) == 0 ? TRUE : FALSE;
}

WINSTUB_API BOOL GetModuleHandleExA(DWORD flags, LPCSTR addressOrName, HMODULE* module)
{
    if (!module)
        return FALSE;
    *module = nullptr;
    void* handle = nullptr;
    if (flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) {
        Dl_info info {};
        if (!dladdr(static_cast<const void*>(addressOrName), &info) || !info.dli_fname)
            return FALSE;
        handle = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    } else {
        if (!addressOrName)
            return FALSE;
        handle = dlopen(localPath(addressOrName).c_str(), RTLD_NOW | RTLD_NOLOAD);
    }
    if (!handle)
        return FALSE;
    if (flags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT)
        dlclose(handle); // RTLD_NOLOAD took a reference; give it back
    *module = handle;
    return TRUE;
}

WINSTUB_API DWORD GetFileAttributesA(LPCSTR path)
{
    struct stat st { };
    if (!path || !*path || stat(localPath(path).c_str(), &st) != 0)
        return INVALID_FILE_ATTRIBUTES;
    return S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

WINSTUB_API int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    std::fprintf(stderr, "[%s] %s\n", caption ? caption : "", text ? text : "");
    std::fflush(stderr);
    if (messageObserver)
        messageObserver(caption ? caption : "", text ? text : "", type, messageContext);
    return IDOK;
}

WINSTUB_API void winstubSetMessageObserver(WinMessageObserver observer, void* context)
{
    messageObserver = observer;
    messageContext = context;
}

WINSTUB_API BOOL QueryPerformanceCounter(LARGE_INTEGER* count)
{
    if (!count)
        return FALSE;
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    count->QuadPart = static_cast<std::int64_t>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    return TRUE;
}

WINSTUB_API BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    if (!frequency)
        return FALSE;
    frequency->QuadPart = 1000000000LL;
    return TRUE;
}
}
