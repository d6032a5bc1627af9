// Loading and binding of the engine library, and the module entry points that start and stop it.
#include "EngineBinding.h"

#include "BindingChecks.h"
#include "PluginState.h"
#include "ServiceTable.h"

// This unit carries the module's link anchor and build date.
#define ORBITER_MODULE
#include "Orbitersdk.h"

#include <windows.h>

#include <cstdio>

namespace {

const char engineLibPath[] = "modules\\veilcore.dll";
const char errorCaption[] = "Error!";
const char notFoundFormat[] = "%s not found. Check installation.";
const char interfaceError[] = "Haze carrier interface error. Check installation for version mix-up.";
const int messageSize = 256;

// A FARPROC goes through the catch-all function type, so no conversion between unrelated function
// types is ever written directly.
template <typename Entry> Entry entryCast(FARPROC proc)
{
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(proc));
}

} // namespace

void showError(const char* text)
{
    MessageBoxA(nullptr, text, errorCaption, MB_OK);
}

void bindEngine()
{
    if (!hostSupported())
        return;
    engineLib = LoadLibraryA(engineLibPath);
    if (!engineLib) {
        char message[messageSize];
        std::snprintf(message, sizeof message, notFoundFormat, engineLibPath);
        showError(message);
        return;
    }

    const InitintEntry initint = entryCast<InitintEntry>(GetProcAddress(engineLib, "initint"));
    if (!initint) {
        showError(interfaceError);
        return;
    }
    initint(fillServiceTable());

    maincallEntry = entryCast<MaincallEntry>(GetProcAddress(engineLib, "maincall"));
    if (!maincallEntry) {
        showError(interfaceError);
        return;
    }
    // Loading ran the engine's installer; a failure of it shows only as a missing file. Checked once the
    // engine is known to be sound, so that a mixed-up engine is named as such.
    if (!carrierFilesPresent())
        return;
    engineBound = 1;
}

void releaseEngine()
{
    // The entry goes first so that nothing can call into a library that is no longer mapped.
    maincallEntry = nullptr;
    if (engineLib) {
        FreeLibrary(engineLib);
        engineLib = nullptr;
    }
}
