// The mesh file reader: the format's keywords, CR LF, and malformed input of every kind.
#include "simfixture.h"

#include <cmath>

namespace {

class MeshFileTest : public SimTest {
protected:
    MESHHANDLE parse(const std::string& text)
    {
        writeFile("meshes/t.msh", text);
        return hostsim::parseMeshFile(root + "/meshes/t.msh");
    }
};

TEST_F(MeshFileTest, ReadsGroupsMaterialsAndTextures)
{
    MESHHANDLE m = parse(probeMesh);
    ASSERT_NE(m, nullptr) << hostsim::lastError();
    ASSERT_EQ(hostsim::groupCount(m), 2u);
    const MESHGROUP* g0 = hostsim::group(m, 0);
    const MESHGROUP* g1 = hostsim::group(m, 1);
    EXPECT_EQ(g0->nVtx, 3u);
    EXPECT_EQ(g0->nIdx, 3u);
    EXPECT_EQ(g0->MtrlIdx, 0u);
    EXPECT_EQ(g1->MtrlIdx, 0u); // inherited
    EXPECT_EQ(g1->nIdx, 6u);
    EXPECT_EQ(g0->Idx[1], 2);
    EXPECT_FLOAT_EQ(g0->Vtx[1].tu, 1.0f);
    // Normals computed for the group given without them: clockwise seen from +y faces up.
    EXPECT_NEAR(g1->Vtx[0].ny, 1.0f, 1e-6);
    ASSERT_EQ(hostsim::materialCount(m), 1u);
    const MATERIAL* mt = hostsim::material(m, 0);
    EXPECT_FLOAT_EQ(mt->diffuse.b, 0.9f);
    EXPECT_FLOAT_EQ(mt->diffuse.a, 0.5f);
    EXPECT_FLOAT_EQ(mt->power, 5.0f);
    EXPECT_FLOAT_EQ(mt->emissive.a, 1.0f);
    hostsim::freeMesh(m);
    EXPECT_EQ(hostsim::groupCount(m), 0u);
}

TEST_F(MeshFileTest, AcceptsCrLfAndGroupKeywords)
{
    const std::string text = "MSHX1\r\nSTATICMESH\r\nGROUPS 2\r\nmaterial 0\r\ntexture 2\r\nFLAG 1A\r\nZBIAS 3\r\n"
                             "TEXWRAP UV\r\nFLIP\r\nNONORMAL\r\nGEOM 3 1\r\n0 0 0 0.5 0.5\r\n1 0 0 1 0\r\n"
                             "0 1 0 0 1\r\n0 1 2\r\nMATERIAL 7\r\nGEOM 0 0\r\n"
                             "TEXTURES 2\r\nrock.dds\r\nsky.dds D\r\n";
    MESHHANDLE m = parse(text);
    ASSERT_NE(m, nullptr) << hostsim::lastError();
    const MESHGROUP* g = hostsim::group(m, 0);
    EXPECT_EQ(g->MtrlIdx, 0xFFFFFFFFu); // material 0: the default
    EXPECT_EQ(g->TexIdx, 1u);
    EXPECT_EQ(g->UsrFlag, 0x1Au);
    EXPECT_EQ(g->zBias, 3);
    EXPECT_EQ(g->Flags, 7); // wrap U and V, static
    EXPECT_EQ(g->Idx[1], 2); // flipped
    EXPECT_FLOAT_EQ(g->Vtx[0].tu, 0.5f);
    EXPECT_NEAR(g->Vtx[0].nz, -1.0f, 1e-6);
    EXPECT_EQ(hostsim::group(m, 1)->MtrlIdx, 0xFFFFFFFFu); // beyond the material list
    EXPECT_EQ(hostsim::group(m, 1)->TexIdx, 1u); // inherited
    EXPECT_EQ(hostsim::textureNames(m), (std::vector<std::string> {"rock.dds", "sky.dds"}));
    EXPECT_NE(oapiGetTextureHandle(m, 2), nullptr);
    EXPECT_EQ(oapiGetTextureHandle(m, 3), nullptr);
}

TEST_F(MeshFileTest, MalformedFilesNameFileAndLine)
{
    struct Case {
        const char* text;
        int line;
    };
    const Case cases[] = {
        {"", 1},
        {"MSHX2\nGROUPS 0\n", 1},
        {"MSHX1\n", 1},
        {"MSHX1\nGROUPS x\n", 2},
        {"MSHX1\nGROUPS 1\nMATERIAL\n", 3},
        {"MSHX1\nGROUPS 1\nGEOM 3\n", 3},
        {"MSHX1\nGROUPS 1\nGEOM 99999 0\n", 3},
        {"MSHX1\nGROUPS 1\nGEOM 2 1\n0 0 0\n1 1 1\n0 1 2\n", 6},
        {"MSHX1\nGROUPS 1\nGEOM 1 0\n0 0\n", 4},
        {"MSHX1\nGROUPS 1\nGEOM 1 0\n1e39 0 0\n", 4},
        {"MSHX1\nGROUPS 1\nGEOM 3 1\n0 0 0\n1 0 0\n0 1 0\n0 1 -2\n", 7},
        {"MSHX1\nGROUPS 1\nGEOM 0 0\nMATERIALS 1\nm\nMATERIAL m\n1 1 1\n", 7},
        {"MSHX1\nGROUPS 1\nGEOM 0 0\nMATERIALS 3\n", 4},
        {"MSHX1\nGROUPS 1\nGEOM 4000000000 4000000000\n", 3},
        // A sign after other white space, and a count that wraps the sum of both.
        {"MSHX1\nGROUPS 1\nGEOM 1\r-1\n0 0 0\n", 3},
        {"MSHX1\nGROUPS 1\nGEOM 1 18446744073709551615\n0 0 0\n", 3},
    };
    for (const Case& c : cases) {
        hostsim::clearLastError();
        EXPECT_EQ(parse(c.text), nullptr) << c.text;
        EXPECT_NE(hostsim::lastError().find("t.msh:" + std::to_string(c.line) + ":"), std::string::npos)
            << c.text << " -> " << hostsim::lastError();
        // Refused by a check of what the file says, never by an allocation that failed.
        EXPECT_EQ(hostsim::lastError().find("cannot load"), std::string::npos) << hostsim::lastError();
    }
    const std::string longLine = "MSHX1\nGROUPS 0\n; " + std::string(300, 'x') + "\n";
    EXPECT_EQ(parse(longLine), nullptr);
    EXPECT_NE(hostsim::lastError().find(":3:"), std::string::npos);
}

TEST_F(MeshFileTest, EveryTruncatedPrefixGivesAMeshOrAnError)
{
    const std::string full = probeMesh;
    int valid = 0;
    for (std::size_t n = 0; n <= full.size(); ++n) {
        hostsim::clearLastError();
        MESHHANDLE m = parse(full.substr(0, n));
        if (m) {
            ++valid;
            // Whatever was read is self-consistent: every index names a vertex of its group.
            for (unsigned g = 0; g < hostsim::groupCount(m); ++g) {
                const MESHGROUP* grp = hostsim::group(m, g);
                for (DWORD i = 0; i < grp->nIdx; ++i)
                    ASSERT_LT(grp->Idx[i], grp->nVtx);
            }
            hostsim::freeMesh(m);
        } else {
            EXPECT_NE(hostsim::lastError().find("t.msh:"), std::string::npos) << n;
        }
    }
    EXPECT_GT(valid, 0); // the full file, and prefixes cut inside the material block's last line
}

TEST_F(MeshFileTest, LoadedThroughTheHostPathOnceAndOnlyWhenValid)
{
    writeFile("meshes/bad.msh", "MSHX1\nGROUPS 2\n");
    EXPECT_EQ(oapiLoadMeshGlobal("bad"), nullptr);
    EXPECT_NE(hostsim::lastError().find("meshes/bad.msh:"), std::string::npos);
    writeFile("meshes/bad.msh", probeMesh); // fixed later: loads now
    int calls = 0, firsts = 0;
    static int* pc = nullptr;
    static int* pf = nullptr;
    pc = &calls;
    pf = &firsts;
    LoadMeshClbkFunc clbk = [](MESHHANDLE, bool first) {
        ++*pc;
        *pf += first ? 1 : 0;
    };
    MESHHANDLE m = oapiLoadMeshGlobal("bad", clbk);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(oapiLoadMeshGlobal("bad", clbk), m);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(firsts, 1);
    pc = pf = nullptr;
    EXPECT_EQ(oapiMeshGroupCount(nullptr), 0u);
    EXPECT_EQ(oapiMeshGroup(m, 5), nullptr);
}

} // namespace
