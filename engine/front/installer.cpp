#include "installer.h"

#include "textfile.h"

#include <filesystem>
#include <system_error>

namespace {

const char meshdir[] = "meshes";
const char meshfile[] = "meshes\\hazeves.msh";
const char classdir[] = "config\\vessels";
const char classfile[] = "config\\vessels\\HazeCarrier.cfg";
constexpr int meshgroups = 1024;

// The host's spelling to the local one.
std::string localpath(const char* hostpath)
{
    std::string path(hostpath);
#ifndef _WIN32
    for (char& c : path)
        if (c == '\\')
            c = '/';
#endif
    return path;
}

bool isdirectory(const char* hostpath)
{
    std::error_code ec;
    return std::filesystem::is_directory(localpath(hostpath), ec);
}

void line(std::string& text, const char* s)
{
    text += s;
    text += "\r\n";
}

} // namespace

void writegroup(std::string& text)
{
    // An octahedron far beyond any camera: every vertex used once, all normals and texture
    // coordinates zero. The engine replaces the group's contents every step.
    static const char* const corners[6] = {
        "0 200000000 0 0 0 0 0 0",
        "0 0 -200000000 0 0 0 0 0",
        "200000000 0 0 0 0 0 0 0",
        "0 0 200000000 0 0 0 0 0",
        "-200000000 0 0 0 0 0 0 0",
        "0 -200000000 0 0 0 0 0 0",
    };
    static const char* const triangles[8]
        = {"0 2 1", "6 3 12", "7 4 15", "8 9 18", "5 10 13", "21 14 16", "22 17 19", "23 20 11"};
    line(text, "MATERIAL 1");
    line(text, "TEXTURE 0");
    line(text, "FLAG 1");
    line(text, "GEOM 24 8");
    for (const char* corner : corners)
        line(text, corner);
    for (const char* corner : corners)
        for (int k = 0; k < 3; ++k)
            line(text, corner);
    for (const char* triangle : triangles)
        line(text, triangle);
}

bool writemesh(int n)
{
    std::string text;
    text.reserve(64 + static_cast<std::size_t>(n > 0 ? n : 0) * 724 + 160);
    line(text, "MSHX1");
    line(text, ("GROUPS " + std::to_string(n)).c_str());
    for (int i = 0; i < n; ++i)
        writegroup(text);
    line(text, "MATERIALS 1");
    line(text, "material0");
    line(text, "MATERIAL material0");
    line(text, "1.000 1.000 1.000 0.0300");
    line(text, "1.000 1.000 1.000 0.0300");
    line(text, "1.000 1.000 1.000 0.0300");
    line(text, "0 0 0 0.03");
    line(text, "TEXTURES 0");
    return textfilereplace(localpath(meshfile), text, meshfile);
}

std::string classfiletext()
{
    std::string text;
    line(text, "; Haze carrier  vessel class");
    line(text, "ClassName=HazeCarrier");
    line(text, "Module=plugin\\skyveil");
    line(text, "EnableFocus=FALSE");
    line(text, "ImageBmp=Images\\Vessels\\Carrier\\Haze.bmp");
    return text;
}

void install()
{
    if (!isdirectory(meshdir)) {
        // Whether this worked is told by the test that follows.
        std::error_code ec;
        std::filesystem::create_directories(localpath(meshdir), ec);
    }
    if (isdirectory(meshdir) && !writemesh(meshgroups))
        return;
    if (isdirectory(classdir))
        textfilereplace(localpath(classfile), classfiletext(), classfile);
}
