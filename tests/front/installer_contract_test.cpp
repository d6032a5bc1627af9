// The files that loading the library writes into a fresh root tree, and its behaviour on I/O errors.
#include "veilroot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char meshpath[] = "meshes/hazeves.msh";
const char classpath[] = "config/vessels/HazeCarrier.cfg";

// Splits CR LF terminated text into lines; fails on a bare LF or CR or a missing final CR LF.
std::vector<std::string> crlflines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "unterminated last line";
        if (end == std::string::npos)
            break;
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line break in: " << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

const std::vector<std::string> groupblock = {
    "MATERIAL 1",
    "TEXTURE 0",
    "FLAG 1",
    "GEOM 24 8",
    "0 200000000 0 0 0 0 0 0",
    "0 0 -200000000 0 0 0 0 0",
    "200000000 0 0 0 0 0 0 0",
    "0 0 200000000 0 0 0 0 0",
    "-200000000 0 0 0 0 0 0 0",
    "0 -200000000 0 0 0 0 0 0",
    "0 200000000 0 0 0 0 0 0",
    "0 200000000 0 0 0 0 0 0",
    "0 200000000 0 0 0 0 0 0",
    "0 0 -200000000 0 0 0 0 0",
    "0 0 -200000000 0 0 0 0 0",
    "0 0 -200000000 0 0 0 0 0",
    "200000000 0 0 0 0 0 0 0",
    "200000000 0 0 0 0 0 0 0",
    "200000000 0 0 0 0 0 0 0",
    "0 0 200000000 0 0 0 0 0",
    "0 0 200000000 0 0 0 0 0",
    "0 0 200000000 0 0 0 0 0",
    "-200000000 0 0 0 0 0 0 0",
    "-200000000 0 0 0 0 0 0 0",
    "-200000000 0 0 0 0 0 0 0",
    "0 -200000000 0 0 0 0 0 0",
    "0 -200000000 0 0 0 0 0 0",
    "0 -200000000 0 0 0 0 0 0",
    "0 2 1",
    "6 3 12",
    "7 4 15",
    "8 9 18",
    "5 10 13",
    "21 14 16",
    "22 17 19",
    "23 20 11",
};

const std::vector<std::string> meshtail = {
    "MATERIALS 1",
    "material0",
    "MATERIAL material0",
    "1.000 1.000 1.000 0.0300",
    "1.000 1.000 1.000 0.0300",
    "1.000 1.000 1.000 0.0300",
    "0 0 0 0.03",
    "TEXTURES 0",
};

const char classtext[] = "; Haze carrier  vessel class\r\n"
                         "ClassName=HazeCarrier\r\n"
                         "Module=plugin\\skyveil\r\n"
                         "EnableFocus=FALSE\r\n"
                         "ImageBmp=Images\\Vessels\\Carrier\\Haze.bmp\r\n";

void writefile(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// Loads the library with stderr captured; returns what it wrote there.
std::string loadcapturing(veilroot& root)
{
    testing::internal::CaptureStderr();
    const bool loaded = root.load();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(loaded) << "the library must finish loading";
    return err;
}

int linecount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

bool notemporaries(const fs::path& dir)
{
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.path().extension() == ".tmp")
            return false;
    return true;
}

TEST(Installer, WritesBothFilesByteForByte)
{
    veilroot root;
    ASSERT_TRUE(root.load());
    const std::string mesh = root.read(meshpath);
    EXPECT_EQ(mesh.size(), 741542u);
    const std::vector<std::string> lines = crlflines(mesh);
    ASSERT_EQ(lines.size(), 36874u);
    EXPECT_EQ(lines[0], "MSHX1");
    EXPECT_EQ(lines[1], "GROUPS 1024");
    for (std::size_t g = 0; g < 1024; ++g)
        for (std::size_t i = 0; i < groupblock.size(); ++i)
            ASSERT_EQ(lines[2 + g * 36 + i], groupblock[i]) << "group " << g << " line " << i;
    for (std::size_t i = 0; i < meshtail.size(); ++i)
        EXPECT_EQ(lines[2 + 1024 * 36 + i], meshtail[i]);
    EXPECT_EQ(root.read(classpath), classtext);
    EXPECT_TRUE(notemporaries(root.dir));
}

TEST(Installer, CreatesMeshesButNeverTheClassDirectory)
{
    veilroot root(false, false);
    ASSERT_TRUE(root.load());
    EXPECT_TRUE(fs::is_directory(root.dir / "meshes"));
    EXPECT_EQ(root.read(meshpath).size(), 741542u);
    EXPECT_FALSE(fs::exists(root.dir / "config"));
}

TEST(Installer, ClassFileNeedsOnlyItsDirectory)
{
    veilroot root(false, true);
    ASSERT_TRUE(root.load());
    EXPECT_EQ(root.read(classpath), classtext);
    EXPECT_EQ(linecount(root.read(classpath)), 5);
}

TEST(Installer, TruncatesLongerFiles)
{
    veilroot root;
    writefile(root.dir / meshpath, std::string(2000000, 'x'));
    writefile(root.dir / classpath, std::string(5000, 'y'));
    ASSERT_TRUE(root.load());
    EXPECT_EQ(root.read(meshpath).size(), 741542u);
    EXPECT_EQ(root.read(classpath), classtext);
}

TEST(Installer, MeshesThatCannotBeCreatedAreSkippedSilently)
{
    veilroot root(false, true);
    writefile(root.dir / "meshes", "a file where the directory belongs");
    const std::string err = loadcapturing(root);
    EXPECT_EQ(err, "");
    EXPECT_EQ(root.read("meshes"), "a file where the directory belongs");
    EXPECT_EQ(root.read(classpath), classtext);
}

TEST(Installer, UnwritableMeshFileKeepsItsPlaceReportsOnceAndStops)
{
    veilroot root;
    fs::create_directories(root.dir / meshpath);
    writefile(root.dir / meshpath / "inside", "kept");
    const std::string err = loadcapturing(root);
    EXPECT_EQ(linecount(err), 1) << err;
    EXPECT_NE(err.find("meshes\\hazeves.msh"), std::string::npos) << err;
    EXPECT_EQ(root.read("meshes/hazeves.msh/inside"), "kept");
    EXPECT_FALSE(fs::exists(root.dir / classpath)) << "the rest of the installer is skipped";
    EXPECT_TRUE(notemporaries(root.dir));
    // The library works all the same.
    HostServiceTable table {};
    root.initint(&table);
    EXPECT_EQ(root.maincall(nullptr), 0);
}

TEST(Installer, FullDiskLeavesThePreviousFileIntact)
{
    veilroot root;
    writefile(root.dir / meshpath, "previous mesh");
    writefile(root.dir / classpath, "previous class");
    // The temporary file beside the mesh file lands on a device that is always full.
    fs::create_symlink("/dev/full", root.dir / "meshes" / "hazeves.msh.tmp");
    const std::string err = loadcapturing(root);
    EXPECT_EQ(linecount(err), 1) << err;
    EXPECT_NE(err.find("meshes\\hazeves.msh"), std::string::npos) << err;
    EXPECT_EQ(root.read(meshpath), "previous mesh");
    EXPECT_EQ(root.read(classpath), "previous class");
    EXPECT_TRUE(notemporaries(root.dir));
}

TEST(Installer, UnwritableClassFileIsReportedAfterTheMesh)
{
    veilroot root;
    fs::create_directories(root.dir / classpath);
    const std::string err = loadcapturing(root);
    EXPECT_EQ(linecount(err), 1) << err;
    EXPECT_NE(err.find("config\\vessels\\HazeCarrier.cfg"), std::string::npos) << err;
    EXPECT_EQ(root.read(meshpath).size(), 741542u);
    EXPECT_TRUE(fs::is_directory(root.dir / classpath));
}

} // namespace
