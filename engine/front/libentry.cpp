// The library's one start and end routine: the units start in dependency order when the library is
// loaded and end in reverse order at unload. Nothing thrown may reach the loader.
#include "frontstate.h"
#include "installer.h"
#include "timers.h"

namespace {

void veilstart()
{
    try {
        timersstart();
        install();
    } catch (...) {
        // The library still loads; the installer has reported what it could.
    }
}

void veilend()
{
    try {
        frontrelease(&front);
        timersend();
    } catch (...) {
    }
}

} // namespace

#ifdef _WIN32
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        veilstart();
    else if (reason == DLL_PROCESS_DETACH)
        veilend();
    return TRUE;
}
#else
__attribute__((constructor)) static void veilload()
{
    veilstart();
}
__attribute__((destructor)) static void veilunload()
{
    veilend();
}
#endif
