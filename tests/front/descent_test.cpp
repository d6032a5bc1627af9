// A descent from 1.6 body radii to 10 km above the surface, step by step through maincall: every
// drawn block lies on the shell in the carrier's current frame, and the drawn leaves tile the whole
// shell, the part under the observer included.
#include "fakeclock.h"
#include "frontstate.h"
#include "carrierchecks.h"
#include "veilcore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

constexpr double radius = 6371000.0;
constexpr double shell = radius + 10000.0;
constexpr int steps = 300;

vectyp direction(double lat, double lng)
{
    return mkvec(std::cos(lat) * std::cos(lng), std::sin(lat), std::cos(lat) * std::sin(lng));
}

// The body's axes in global coordinates: a rotation about the global x axis by 0.4 rad and about z
// by 0.2 rad, so that the engine's frame conversion is exercised.
struct bodyframe {
    vectyp x, y, z;
    bodyframe()
    {
        const double a = 0.4, b = 0.2;
        const vectyp ex = mkvec(std::cos(b), std::sin(b), 0), ey0 = mkvec(-std::sin(b), std::cos(b), 0);
        x = ex;
        y = vecadd(vecscale(ey0, std::cos(a)), vecscale(mkvec(0, 0, 1), std::sin(a)));
        z = veccross(x, y);
    }
    vectyp toglobal(const vectyp& v) const
    {
        return vecadd(vecadd(vecscale(x, v.x), vecscale(y, v.y)), vecscale(z, v.z));
    }
};

// A source position from an output vertex: undo the shift, then the rotations about x and y.
vectyp rotateback(const HostVertex& v, double rotx, double roty)
{
    const double y = v.y + radius + 10000.0;
    const double ca = std::cos(rotx), sa = std::sin(rotx);
    const double y1 = y * ca + v.z * sa;
    const double z1 = -y * sa + v.z * ca;
    const double cb = std::cos(roty), sb = std::sin(roty);
    return mkvec(v.x * cb - z1 * sb, y1, v.x * sb + z1 * cb);
}

// The cube face a direction leaves through, and the point where it does on the cube of half-width r.
int cubeface(const vectyp& d, double r, vectyp* onface)
{
    const double ax = std::fabs(d.x), ay = std::fabs(d.y), az = std::fabs(d.z);
    double m;
    int face;
    if (ay >= ax && ay >= az) {
        m = ay;
        face = d.y > 0 ? 0 : 1;
    } else if (ax >= az) {
        m = ax;
        face = d.x > 0 ? 2 : 3;
    } else {
        m = az;
        face = d.z > 0 ? 4 : 5;
    }
    *onface = vecscale(d, r / m);
    return face;
}

bool covers(const blocktyp* b, const vectyp& onface, double r)
{
    const double half = r / std::pow(2.0, b->level - 1) * (1.0 + 1e-9);
    const vectyp n = vecscale(b->cubecentre, 1.0 / r);
    const vectyp w = veccross(n, b->updir);
    const vectyp off = vecadd(onface, vecscale(b->cubecentre, -1.0));
    const double du = off.x * b->updir.x + off.y * b->updir.y + off.z * b->updir.z;
    const double dw = off.x * w.x + off.y * w.y + off.z * w.z;
    return std::fabs(du) <= half && std::fabs(dw) <= half;
}

TEST(Descent, DrawnBlocksLieOnTheShellAndTileIt)
{
    usefakeclock();
    script = hostscript {};
    script.size = radius;
    HostServiceTable table = recordingtable();
    initint(&table);
    carrierkit kit;
    kit.name("Earth");
    const bodyframe body;
    kit.frame.bodyAxisX = HostVector {body.x.x, body.x.y, body.x.z};
    kit.frame.bodyAxisY = HostVector {body.y.x, body.y.y, body.y.z};
    kit.frame.bodyAxisZ = HostVector {body.z.x, body.z.y, body.z.z};

    int insidesteps = 0;
    int reanchors = 0;
    int deepest = 0;
    for (int k = 0; k <= steps + 20; ++k) {
        const double t = k < steps ? double(k) / steps : 1.0;
        const double altitude = 0.6 * radius * std::pow(10000.0 / (0.6 * radius), t);
        script.lat = 0.3 + 0.0001 * k;
        script.lng = 0.7 + 0.0003 * k;
        const vectyp cam = body.toglobal(vecscale(direction(script.lat, script.lng), radius + altitude));
        kit.camera(cam.x, cam.y, cam.z);
        reanchors += maincall(&kit.frame);

        const roampl& e = front.engine;
        std::map<const HostVertex*, const blocktyp*> leafof;
        double tiling = 0.0;
        int leaves = 0;
        for (const linktyp* l = e.leaves; l; l = l->next, ++leaves) {
            leafof[l->block->vtx] = l->block;
            tiling += std::pow(0.25, l->block->level - 1);
        }
        const int drawn = kit.blockgroups();
        if (altitude >= 0.5 * radius) {
            ASSERT_EQ(drawn, 0) << "step " << k;
            expectplaceholders(kit, 0);
            continue;
        }
        ++insidesteps;
        ASSERT_EQ(drawn, leaves) << "step " << k;
        ASSERT_EQ(tiling, 6.0) << "the leaves tile the six faces, step " << k;
        for (int g = 0; g < drawn; ++g) {
            const HostMeshGroup& group = kit.groups[static_cast<std::size_t>(g)];
            const auto found = leafof.find(group.Vtx);
            ASSERT_NE(found, leafof.end()) << "group " << g << " shows no leaf, step " << k;
            ASSERT_EQ(group.Idx, gridindices);
            for (int i = 0; i < 81; ++i) {
                const vectyp p = rotateback(group.Vtx[i], e.rotx, e.roty);
                ASSERT_NEAR(veclen(p), shell, shell * 1e-6) << "step " << k << " group " << g << " vertex " << i;
                const HostVertex& s = found->second->srcvtx[i];
                ASSERT_NEAR(p.x, s.x, 20.0);
                ASSERT_NEAR(p.y, s.y, 20.0);
                ASSERT_NEAR(p.z, s.z, 20.0);
            }
        }
        vectyp onface;
        const int face = cubeface(e.observer, radius, &onface);
        const blocktyp* under = nullptr;
        for (const auto& entry : leafof)
            if (entry.second->face == face && covers(entry.second, onface, radius))
                under = entry.second;
        ASSERT_NE(under, nullptr) << "no drawn leaf under the observer, step " << k;
        deepest = std::max(deepest, under->level);
        expectplaceholders(kit, drawn);
    }
    EXPECT_GT(insidesteps, steps / 2);
    EXPECT_GT(reanchors, 3);
    // The leaf-load limit holds the whole tessellation to 65 leaves, so detail stays coarse.
    EXPECT_GE(deepest, 3) << "the observer's face was refined";
    roamstop(&front.engine);
    timersetsource(nullptr, 0);
}

} // namespace
