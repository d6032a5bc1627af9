// A fresh simulator root tree in a temporary directory with the built veilcore in modules/, made the
// current directory for the test's lifetime, and the library loaded from it the way the plug-in does.
#pragma once

#include "veilcore.h"

#include <windows.h>

#include <filesystem>
#include <string>

class veilroot {
public:
    // meshes / classdir: whether "meshes" and "config/vessels" exist before loading.
    explicit veilroot(bool meshes = true, bool classdir = true);
    ~veilroot();
    veilroot(const veilroot&) = delete;
    veilroot& operator=(const veilroot&) = delete;

    // LoadLibraryA("modules\\veilcore.dll") and both entry points; false if any is missing.
    bool load();

    // Contents of a file below the root ("" if it cannot be read).
    std::string read(const char* relative) const;

    std::filesystem::path dir;
    HMODULE module = nullptr;
    InitintEntry initint = nullptr;
    MaincallEntry maincall = nullptr;

private:
    std::filesystem::path previous;
};
