// Loading and binding of the engine library, and the module entry points that start and stop it.

// This unit carries the module's link anchor and build date: defined before any header can bring in
// the SDK without it.
#define ORBITER_MODULE

#include "EngineBinding.h"

#include "BindingChecks.h"
#include "CarrierPlacement.h"
#include "PluginState.h"
#include "ServiceTable.h"

#include "Orbitersdk.h"

#include <windows.h>

#include <cstdio>

namespace {

const char engineLibPath[] = "modules\\veilcore.dll";
const char errorCaption[] = "Error!";
const char notFoundFormat[] = "%s not found. Check installation.";
const char interfaceError[] = "Haze carrier interface error. Check installation for version mix-up.";
const int messageSize = 256;
const char boundFormat[] = "skyveil %s: engine bound on simulator version %d; the carrier is placed with the %s "
                           "record, checked after every placement";

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

void refuseAddon(const char* text)
{
    addonRefused = 1;
    showError(text);
}

void bindEngine()
{
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

    const int version = oapiGetOrbiterVersion();
    choosePlacementRecord(firstPlacementRecord(version));
    char line[messageSize];
    std::snprintf(
        line, sizeof line, boundFormat, SKYVEIL_VERSION, version, placementRecordName(currentPlacementRecord()));
    oapiWriteLog(line);
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
