// Loading of plug-in and vessel modules through the Win32 layer, with the SDK's attach glue
// honoured: a module whose glue calls InitLib gets InitModule from there; for a module without it
// the simulator calls InitModule itself on the first load and ExitModule before the last unload.
#pragma once

#include "world.h"

#include <string>

namespace hostsim {

// LoadLibraryA(path) (host spelling, backslashes allowed); null on failure (error reported).
HMODULE acquireModule(const std::string& path);

// Drops one reference taken by acquireModule; the module's detach runs when the last one goes.
void releaseModule(HMODULE h);

// InitModule (or the older opcDLLInit) and ExitModule (or opcDLLExit) of a module, if exported.
void callModuleInit(HMODULE h);
void callModuleExit(HMODULE h);

// "Mmm dd yyyy" (a __DATE__ string) as YYMMDD; 0 if it cannot be read. Date2Int without counting.
int dateToInt(const char* date);

// Typed GetProcAddress.
template <typename Fn> Fn moduleProc(HMODULE h, const char* name)
{
    FARPROC p = GetProcAddress(h, name);
    // Through void(*)() as the generic code pointer, which the compiler accepts without complaint.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(p));
}

} // namespace hostsim

// The core's undocumented exports that the SDK's module glue calls (C++ linkage, as in the core).
DLLEXPORT void InitLib(HINSTANCE hModule);
DLLEXPORT int Date2Int(char* date);
