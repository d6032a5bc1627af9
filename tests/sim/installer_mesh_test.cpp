// The carrier mesh that the engine library's installer writes loads as the host would load it.
#include <hostsim/hostsim.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

TEST(InstallerMesh, LoadsAs1024GroupsOf24VerticesAnd8TrianglesWithOneMaterial)
{
    const char* tmpl = std::getenv("SKYVEIL_ROOT_TEMPLATE");
    ASSERT_NE(tmpl, nullptr);
    const std::string root = hostsim::makeTempRoot(tmpl);
    ASSERT_FALSE(root.empty());
    hostsim::Session session(root);
    std::remove("meshes/hazeves.msh");

    HMODULE core = LoadLibraryA("modules\\veilcore.dll");
    ASSERT_NE(core, nullptr);
    MESHHANDLE mesh = hostsim::loadMesh("hazeves");
    ASSERT_NE(mesh, nullptr) << hostsim::lastError();
    ASSERT_EQ(hostsim::groupCount(mesh), 1024u);
    for (unsigned g = 0; g < 1024; ++g) {
        const MESHGROUP* grp = hostsim::group(mesh, g);
        ASSERT_EQ(grp->nVtx, 24u) << g;
        ASSERT_EQ(grp->nIdx, 24u) << g;
        ASSERT_EQ(grp->MtrlIdx, 0u) << g;
        ASSERT_EQ(grp->UsrFlag, 1u) << g;
    }
    ASSERT_EQ(hostsim::materialCount(mesh), 1u);
    EXPECT_FLOAT_EQ(hostsim::material(mesh, 0)->diffuse.a, 0.03f);
    FreeLibrary(core);
}

} // namespace
