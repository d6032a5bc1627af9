#include "carrierchecks.h"

#include <gtest/gtest.h>

void expectmarkers(const carrierkit& kit)
{
    for (const HostMeshGroup& g : kit.groups) {
        ASSERT_EQ(g.MtrlIdx, markmtrl);
        ASSERT_EQ(g.TexIdx, marktex);
        ASSERT_EQ(g.zBias, markzbias);
        ASSERT_EQ(g.Flags, markflags);
    }
    const HostMaterial& m = kit.material;
    for (const HostColour* c : {&m.ambient, &m.specular, &m.emissive}) {
        EXPECT_EQ(c->r, markcolour);
        EXPECT_EQ(c->g, markcolour);
        EXPECT_EQ(c->b, markcolour);
    }
    EXPECT_EQ(m.power, markpower);
}

void expectplaceholders(const carrierkit& kit, int first)
{
    const HostMeshGroup& ref = kit.groups[frameGroupCount - 1];
    ASSERT_NE(ref.Vtx, nullptr);
    ASSERT_NE(ref.Idx, nullptr);
    const float corner[3][3] = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ref.Vtx[i].x, corner[i][0]);
        EXPECT_EQ(ref.Vtx[i].y, corner[i][1]);
        EXPECT_EQ(ref.Vtx[i].z, corner[i][2]);
        EXPECT_EQ(ref.Vtx[i].ny, 1.0f);
        EXPECT_EQ(ref.Idx[i], i);
    }
    for (int i = first; i < frameGroupCount; ++i) {
        const HostMeshGroup& g = kit.groups[static_cast<std::size_t>(i)];
        ASSERT_EQ(g.Vtx, ref.Vtx) << "group " << i;
        ASSERT_EQ(g.Idx, ref.Idx) << "group " << i;
        ASSERT_EQ(g.nVtx, 3u) << "group " << i;
        ASSERT_EQ(g.nIdx, 3u) << "group " << i;
        ASSERT_EQ(g.UsrFlag, 1u) << "group " << i;
    }
}
