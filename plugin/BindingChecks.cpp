// The host's version and the carrier's files, checked around loading the engine; each failure is one
// message box, like the binding failures.
#include "BindingChecks.h"

#include "EngineBinding.h"

#include "Orbitersdk.h"

#include <windows.h>

#include <cstdio>

namespace {

// The first version number of the 2016-era cores (YYMMDD); the 2006 editions report 060424 and 060929.
const int firstUnsupportedVersion = 160000;
const char versionFormat[]
    = "Haze carrier: simulator version %d is not supported. This add-on is written for the 2006 edition.";
const char missingFormat[]
    = "Haze carrier: %s is missing and could not be written. Check that the simulator's folder can be written.";
const char* const carrierFiles[] = {"meshes\\hazeves.msh", "config\\vessels\\HazeCarrier.cfg"};
const int messageSize = 256;

bool isFile(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

bool hostSupported()
{
    const int version = oapiGetOrbiterVersion();
    if (version < firstUnsupportedVersion)
        return true;
    char message[messageSize];
    std::snprintf(message, sizeof message, versionFormat, version);
    showError(message);
    return false;
}

bool carrierFilesPresent()
{
    for (const char* path : carrierFiles) {
        if (!isFile(path)) {
            char message[messageSize];
            std::snprintf(message, sizeof message, missingFormat, path);
            showError(message);
            return false;
        }
    }
    return true;
}
