// The DLL's entry without the MSVC runtime: it runs the static initialisers the compiler lists between
// .CRT$XCA and .CRT$XCZ, keeps the DLL's own atexit list (run at detach, not at process exit, since the
// host may unload the plug-in long before it ends) and calls DllMain in between.
#include <windows.h>

#include <cstdlib>

typedef void(__cdecl* StaticHook)();

// The linker sorts the .CRT$XC* sections by their suffix, so these two bracket the compiler's entries.
__attribute__((section(".CRT$XCA"), used)) const StaticHook initialisersBegin[] = {nullptr};
__attribute__((section(".CRT$XCZ"), used)) const StaticHook initialisersEnd[] = {nullptr};

namespace {

const int exitListCapacity = 64;
StaticHook exitList[exitListCapacity];
int exitCount = 0;

void runInitialisers()
{
    for (const StaticHook* hook = initialisersBegin + 1; hook < initialisersEnd; ++hook)
        if (*hook)
            (*hook)();
}

void runExitList()
{
    while (exitCount > 0)
        exitList[--exitCount]();
}

} // namespace

// Destructors of statics register here; a full list refuses further entries, as atexit may.
extern "C" int __cdecl atexit(StaticHook hook)
{
    if (!hook || exitCount == exitListCapacity)
        return -1;
    exitList[exitCount++] = hook;
    return 0;
}

// The compiler references it from every unit that uses floating point.
extern "C" int _fltused = 0x9875;

BOOL WINAPI DllMain(HINSTANCE hModule, DWORD reason, LPVOID reserved);

extern "C" BOOL WINAPI skyveilDllEntry(HINSTANCE hModule, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        runInitialisers();
    const BOOL result = DllMain(hModule, reason, reserved);
    if (reason == DLL_PROCESS_DETACH)
        runExitList();
    return result;
}
