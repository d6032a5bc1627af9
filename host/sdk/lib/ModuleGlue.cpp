// The stand-in for the SDK's static library, the module glue: registration with the host when the
// library is attached, ExitModule when it is detached, the module version and the link anchor. Built
// as skyveil::sdk_glue; a build against the real SDK links the SDK's own library instead.
#include "Orbitersdk.h"

#include <windows.h>

// Exports of the host's core, declared where they are used, as the SDK's own glue does.
OAPIFUNC void InitLib(HINSTANCE hModule);
OAPIFUNC int Date2Int(char* date);

namespace {

typedef void (*ModuleExitEntry)(HINSTANCE);

HINSTANCE moduleHandle = nullptr;
ModuleExitEntry moduleExit = nullptr;

ModuleExitEntry exitEntry(HINSTANCE module, const char* name)
{
    return reinterpret_cast<ModuleExitEntry>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

void attachModule(HINSTANCE module)
{
    try {
        moduleHandle = module;
        InitLib(module);
        moduleExit = exitEntry(module, "ExitModule");
        if (!moduleExit)
            moduleExit = exitEntry(module, "opcDLLExit");
    } catch (...) {
        // The loader hook must not let anything escape into the host's loader.
    }
}

void detachModule()
{
    try {
        if (moduleExit)
            moduleExit(moduleHandle);
    } catch (...) {
    }
    moduleExit = nullptr;
}

} // namespace

// Link anchor referenced by the module's calldummy (ORBITER_MODULE).
void dummy() { }

// The module's API version, the host's number for the SDK's build date; asked once, then cached.
DLLCLBK int GetModuleVersion()
{
    static bool known = false;
    static int version = 0;
    if (!known) {
        char date[] = "Apr 25 2006";
        version = Date2Int(date);
        known = true;
    }
    return version;
}

#ifdef _WIN32

BOOL WINAPI DllMain(HINSTANCE hModule, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        attachModule(hModule);
    else if (reason == DLL_PROCESS_DETACH)
        detachModule();
    return TRUE;
}

#else

namespace {

__attribute__((constructor)) void moduleLoaded()
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(&moduleLoaded), &module))
        return;
    attachModule(module);
}

__attribute__((destructor)) void moduleUnloaded()
{
    detachModule();
}

} // namespace

#endif
