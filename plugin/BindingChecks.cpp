// The carrier's files, checked once the engine has loaded; a failure is one message box, like the
// binding failures.
#include "BindingChecks.h"

#include "EngineBinding.h"

#include "Orbitersdk.h"

#include <windows.h>

#include <cstdio>

namespace {

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
