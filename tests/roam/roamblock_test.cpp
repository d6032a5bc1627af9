// Block construction: frame and grid on the cube, projection onto the shell, output orientation.
#include "roamtestkit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

vectyp position(const HostVertex& v)
{
    return mkvec(v.x, v.y, v.z);
}

// Angle between two directions, radians.
double angle(const vectyp& a, const vectyp& b)
{
    const vectyp na = vecnorm(a);
    const vectyp nb = vecnorm(b);
    return veclen(veccross(na, nb));
}

class RoamBlocks : public ::testing::Test {
protected:
    void SetUp() override { e = roamstarted(mkvec(0, 0, 0)); }
    void TearDown() override { roamstop(e.get()); }
    std::unique_ptr<roampl> e;
};

TEST_F(RoamBlocks, FaceZeroRootCornersLieOnTheCubeCornersDirections)
{
    const double r = e->radius;
    const blocktyp* b = e->roots[0];
    EXPECT_LT(angle(position(b->srcvtx[0]), mkvec(-r, r, r)), 1e-6);
    EXPECT_LT(angle(position(b->srcvtx[8]), mkvec(r, r, r)), 1e-6);
    EXPECT_LT(angle(position(b->srcvtx[72]), mkvec(-r, r, -r)), 1e-6);
    EXPECT_LT(angle(position(b->srcvtx[80]), mkvec(r, r, -r)), 1e-6);
}

TEST_F(RoamBlocks, EverySourceVertexIsOnTheShellWithItsDirectionAsNormal)
{
    blocksplit(e.get(), e->roots[3]);
    blocksplit(e.get(), e->roots[3]->child[2]);
    const double shell = e->radius + e->shellheight;
    for (const linktyp* l = e->allblocks; l; l = l->next) {
        for (const HostVertex& v : l->block->srcvtx) {
            const vectyp p = position(v);
            EXPECT_NEAR(veclen(p), shell, shell * 2e-7);
            EXPECT_NEAR(v.nx, p.x / veclen(p), 1e-6);
            EXPECT_NEAR(v.ny, p.y / veclen(p), 1e-6);
            EXPECT_NEAR(v.nz, p.z / veclen(p), 1e-6);
            EXPECT_EQ(v.tu, 0.0f);
            EXPECT_EQ(v.tv, 0.0f);
        }
    }
}

// The grid is projected two points at a time; every stored component must still be exactly what
// the kit's scalar vecnorm of the running sum gives.
TEST_F(RoamBlocks, SourceVerticesMatchTheKitsScalarProjectionBitForBit)
{
    blocksplit(e.get(), e->roots[1]);
    blocksplit(e.get(), e->roots[1]->child[3]);
    const double shell = e->radius + e->shellheight;
    for (const linktyp* l = e->allblocks; l; l = l->next) {
        const blocktyp* b = l->block;
        vectyp g = b->gridstart;
        for (int row = 0; row < 9; ++row) {
            for (int col = 0; col < 9; ++col) {
                const vectyp p = vecscale(vecnorm(g), shell);
                const vectyp n = vecnorm(p);
                const HostVertex& v = b->srcvtx[9 * row + col];
                ASSERT_EQ(v.x, static_cast<float>(p.x));
                ASSERT_EQ(v.y, static_cast<float>(p.y));
                ASSERT_EQ(v.z, static_cast<float>(p.z));
                ASSERT_EQ(v.nx, static_cast<float>(n.x));
                ASSERT_EQ(v.ny, static_cast<float>(n.y));
                ASSERT_EQ(v.nz, static_cast<float>(n.z));
                g = vecadd(g, b->colstep);
            }
            g = vecadd(g, b->rowstep);
        }
    }
}

TEST_F(RoamBlocks, MiddleVertexIsOnTheCubeCentreDirectionAndIsTheCentre)
{
    for (blocktyp* root : e->roots)
        blocksplit(e.get(), root);
    for (const linktyp* l = e->allblocks; l; l = l->next) {
        const blocktyp* b = l->block;
        EXPECT_LT(angle(position(b->srcvtx[40]), b->cubecentre), 1e-6) << "face " << b->face;
        EXPECT_EQ(b->centre.x, static_cast<double>(b->srcvtx[40].x));
        EXPECT_EQ(b->centre.y, static_cast<double>(b->srcvtx[40].y));
        EXPECT_EQ(b->centre.z, static_cast<double>(b->srcvtx[40].z));
    }
}

TEST_F(RoamBlocks, ScaleStepAndSizeHalveWithEachLevel)
{
    const double r = e->radius;
    const blocktyp* b = e->roots[4];
    EXPECT_EQ(b->scale, 1.0);
    EXPECT_DOUBLE_EQ(b->step, r / 4);
    EXPECT_DOUBLE_EQ(b->size, 1.414 * r);
    blocksplit(e.get(), e->roots[4]);
    blocksplit(e.get(), e->roots[4]->child[1]);
    const blocktyp* g = e->roots[4]->child[1]->child[0];
    ASSERT_EQ(g->level, 3);
    EXPECT_DOUBLE_EQ(g->scale, 0.25);
    EXPECT_DOUBLE_EQ(g->step, r / 16);
    EXPECT_DOUBLE_EQ(g->size, 1.414 * r / 4);
}

// Child 0 covers the parent's columns 4..8 of rows 0..4, child 1 rows 4..8 of those columns,
// child 2 columns 0..4 of rows 4..8, child 3 columns 0..4 of rows 0..4: the children's corner
// vertices are the parent's grid points there, on every face.
TEST_F(RoamBlocks, ChildrenTileTheParentInTheirOrder)
{
    const int corner[4][2] = {{0, 4}, {4, 4}, {4, 0}, {0, 0}}; // parent (row, column) of child vertex 0
    for (int f = 0; f < 6; ++f) {
        blocktyp* p = e->roots[f];
        blocksplit(e.get(), p);
        for (int c = 0; c < 4; ++c) {
            const blocktyp* k = p->child[c];
            for (int dr = 0; dr <= 8; dr += 8) {
                for (int dc = 0; dc <= 8; dc += 8) {
                    const int pr = corner[c][0] + dr / 2;
                    const int pc = corner[c][1] + dc / 2;
                    const vectyp a = position(k->srcvtx[9 * dr + dc]);
                    const vectyp b = position(p->srcvtx[9 * pr + pc]);
                    EXPECT_LT(veclen(vecadd(a, vecscale(b, -1))), 2.0)
                        << "face " << f << " child " << c << " corner " << dr << "," << dc;
                }
            }
        }
    }
}

TEST_F(RoamBlocks, UnrotatedOutputIsTheSourceLoweredByRadiusAndShift)
{
    const blocktyp* b = e->roots[2];
    for (int i = 0; i < roamgridverts; ++i) {
        const HostVertex& s = b->srcvtx[i];
        const HostVertex& o = b->vtx[i];
        EXPECT_EQ(o.x, s.x);
        EXPECT_EQ(o.z, s.z);
        EXPECT_EQ(o.y, static_cast<float>(static_cast<double>(s.y) - e->radius - e->yshift));
        EXPECT_EQ(o.nx, s.nx);
        EXPECT_EQ(o.ny, s.ny);
        EXPECT_EQ(o.nz, s.nz);
    }
    // The north pole of the shell ends at the carrier's origin.
    EXPECT_EQ(e->roots[0]->vtx[40].y, 0.0f);
}

TEST_F(RoamBlocks, RotationCarriesAShellPointOntoTheCarrierOrigin)
{
    // About y by -90 degrees takes +x to +z, then about x by -90 degrees takes +z to +y.
    e->rotx = -pi / 2;
    e->roty = -pi / 2;
    orientall(e.get());
    const HostVertex& v = e->roots[2]->vtx[40];
    EXPECT_NEAR(v.x, 0.0, 1.0);
    EXPECT_NEAR(v.y, e->shellheight - e->yshift, 1.0);
    EXPECT_NEAR(v.z, 0.0, 1.0);
    EXPECT_NEAR(v.ny, 1.0, 1e-6);
}

// Each stored component is rounded to a 32-bit float, and the next formula reads the rounded value.
TEST_F(RoamBlocks, OrientationRoundsEveryStoredComponent)
{
    e->rotx = 0.3;
    e->roty = -1.1;
    blocktyp* b = e->roots[5];
    blockorient(e.get(), b);
    const double ca = std::cos(0.3), sa = std::sin(0.3), cb = std::cos(-1.1), sb = std::sin(-1.1);
    int widediffer = 0;
    for (int i = 0; i < roamgridverts; ++i) {
        const HostVertex& s = b->srcvtx[i];
        const float z1 = static_cast<float>(-s.x * sb + s.z * cb);
        const float y2 = static_cast<float>(s.y * ca - z1 * sa);
        const float z2 = static_cast<float>(s.y * sa + z1 * ca);
        EXPECT_EQ(b->vtx[i].x, static_cast<float>(s.x * cb + s.z * sb));
        EXPECT_EQ(b->vtx[i].z, z2);
        EXPECT_EQ(b->vtx[i].y, static_cast<float>(static_cast<double>(y2) - e->radius - e->yshift));
        // Without the intermediate rounding some results would differ.
        const double wide = s.y * sa + (-s.x * sb + s.z * cb) * ca;
        widediffer += static_cast<float>(wide) != z2;
    }
    EXPECT_GT(widediffer, 0);
}

TEST_F(RoamBlocks, OrientAllDoesNothingWhileDisabled)
{
    const HostVertex before = e->roots[1]->vtx[17];
    e->rotx = 1.0;
    e->enabled = 0;
    orientall(e.get());
    EXPECT_EQ(e->roots[1]->vtx[17].y, before.y);
    e->enabled = 1;
    orientall(e.get());
    EXPECT_NE(e->roots[1]->vtx[17].y, before.y);
}

TEST_F(RoamBlocks, AMadeBlockIsOnNoListAndInNoQueue)
{
    blocktyp* b = nullptr;
    blockmake(e.get(), e->roots[0], &b, 2, 0, mkvec(0, 0, 1), mkvec(e->radius / 2, e->radius, e->radius / 2));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->alive, 1);
    EXPECT_EQ(b->parent, e->roots[0]);
    EXPECT_EQ(b->leaflink, nullptr);
    EXPECT_EQ(b->alllink, nullptr);
    EXPECT_EQ(b->splitentry, nullptr);
    EXPECT_EQ(b->mergeentry, nullptr);
    EXPECT_EQ(listlength(e->allblocks), 6);
    blockdispose(e.get(), &b);

    blockmake(e.get(), nullptr, &b, 1, 6, mkvec(0, 1, 0), mkvec(0, 0, e->radius)); // no such face
    EXPECT_EQ(b, nullptr);
}

} // namespace
