#include "veilroot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

veilroot::veilroot(bool meshes, bool classdir)
{
    namespace fs = std::filesystem;
    const char* templ = std::getenv("SKYVEIL_ROOT_TEMPLATE");
    EXPECT_NE(templ, nullptr) << "SKYVEIL_ROOT_TEMPLATE is not set";
    std::string pattern = (fs::temp_directory_path() / "veilroot-XXXXXX").string();
    EXPECT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    fs::create_directories(dir / "modules");
    if (templ)
        fs::copy_file(fs::path(templ) / "modules" / "veilcore.dll", dir / "modules" / "veilcore.dll");
    if (meshes)
        fs::create_directories(dir / "meshes");
    if (classdir)
        fs::create_directories(dir / "config" / "vessels");
    previous = fs::current_path();
    fs::current_path(dir);
}

veilroot::~veilroot()
{
    if (module)
        FreeLibrary(module);
    std::error_code ec;
    std::filesystem::current_path(previous, ec);
    std::filesystem::remove_all(dir, ec);
}

bool veilroot::load()
{
    module = LoadLibraryA("modules\\veilcore.dll");
    if (!module)
        return false;
    initint = reinterpret_cast<InitintEntry>(reinterpret_cast<void (*)()>(GetProcAddress(module, "initint")));
    maincall = reinterpret_cast<MaincallEntry>(reinterpret_cast<void (*)()>(GetProcAddress(module, "maincall")));
    return initint && maincall;
}

std::string veilroot::read(const char* relative) const
{
    std::ifstream in(dir / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
