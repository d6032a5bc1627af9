// Stateless top-down selection over the cube sphere, in the manner of chunked terrain selection
// (F. Strugar, "Continuous Distance-Dependent Level of Detail for Rendering Heightmaps", Journal of
// Graphics, GPU, and Game Tools, 2010): each step walks the six face quadtrees from their roots,
// splits a node where the engine's split test wants it while the engine's leaf cap allows, visits
// children nearest first so that the cap is spent near the observer, and makes the selected leaves.
// The geometry is the engine's own: blockframe and blockbound for the split test, blockmakefrom for
// the leaves; the centre of a node and its children's cube centres mirror buildgrid and the split's
// arithmetic operation by operation, so the test sees the same numbers as the engine's.
#include "peer.h"

#include "frameout.h"
#include "frontstate.h"
#include "roaminternal.h"
#include "roamtuning.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace skybench {

namespace {

struct Node {
    PeerLeaf at;
    double d2; // squared distance from the observer to the block's centre
    bool wanted; // the engine's split test
};

// Root cube centres and updirs, in units of the radius, by face.
const double rootCentre[6][3] = {{0, 1, 0}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}};
const double rootUpdir[6][3] = {{0, 0, 1}, {0, 0, -1}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}};

// The engine's centre of a block (source vertex 40 from the running sums, projected and rounded)
// and its split test, as blockprioritise computes them.
Node evaluate(StatelessPeer* p, const PeerLeaf& at)
{
    const roampl* e = &p->geometry;
    blocktyp& b = p->scratch;
    b.alive = 1;
    b.face = at.face;
    b.level = at.level;
    b.updir = at.updir;
    b.cubecentre = at.cubecentre;
    blockframe(&p->geometry, &b);
    vectyp g = b.gridstart;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 9; ++col)
            g = vecadd(g, b.colstep);
        g = vecadd(g, b.rowstep);
    }
    for (int col = 0; col < 4; ++col)
        g = vecadd(g, b.colstep);
    const vectyp mid = vecscale(vecnorm(g), e->radius + e->shellheight);
    b.srcvtx[40].x = static_cast<float>(mid.x);
    b.srcvtx[40].y = static_cast<float>(mid.y);
    b.srcvtx[40].z = static_cast<float>(mid.z);
    blockbound(&p->geometry, &b);

    Node n {at, 0.0, false};
    const double dx = e->obsnap.x - b.centre.x;
    const double dy = e->obsnap.y - b.centre.y;
    const double dz = e->obsnap.z - b.centre.z;
    n.d2 = dx * dx + dy * dy;
    n.d2 += dz * dz;
    const double reach = e->splitfactor * b.size;
    n.wanted = reach * reach > n.d2 && at.level < e->maxlevel;
    return n;
}

// The four children's places, in the engine's child order, then sorted nearest first.
void children(StatelessPeer* p, const PeerLeaf& at, Node out[4])
{
    const roampl* e = &p->geometry;
    const double h = e->radius / rpower(2.0, at.level);
    const vectyp dw = vecscale(veccross(faceaxis(e, at.cubecentre), at.updir), h);
    const vectyp du = vecscale(at.updir, h);
    const vectyp mdw = vecscale(dw, -1.0);
    const vectyp mdu = vecscale(du, -1.0);
    const vectyp& c = at.cubecentre;
    const vectyp centres[4] = {
        vecadd(vecadd(c, dw), du), vecadd(vecadd(c, dw), mdu), vecadd(vecadd(c, mdw), mdu), vecadd(vecadd(c, mdw), du)};
    for (int i = 0; i < 4; ++i)
        out[i] = evaluate(p, PeerLeaf {at.face, at.level + 1, at.updir, centres[i]});
    std::sort(out, out + 4, [](const Node& a, const Node& b) { return a.d2 < b.d2; });
}

// Depth first: a split is made while the leaves number fewer than the engine's load limit allows
// (leafload < loadlimit before a split), so the peer ends with as many leaves as the engine may.
void selectLeaves(StatelessPeer* p, const Node& n, int* leafCount)
{
    if (n.wanted && *leafCount * roamleafload < p->geometry.loadlimit) {
        *leafCount += 3;
        Node kids[4];
        children(p, n.at, kids);
        for (const Node& k : kids)
            selectLeaves(p, k, leafCount);
        return;
    }
    p->leaves.push_back(n.at);
}

} // namespace

void peerInit(StatelessPeer* p)
{
    std::memset(&p->geometry, 0, sizeof p->geometry);
    std::memset(&p->scratch, 0, sizeof p->scratch);
    p->blocks.assign(frameGroupCount - 1, blocktyp {});
    p->leaves.clear();
    p->leaves.reserve(frameGroupCount);
    std::memset(p->groups, 0, sizeof p->groups);
    std::memset(p->placeholder, 0, sizeof p->placeholder);
    for (std::uint16_t i = 0; i < 3; ++i)
        p->placeholderIdx[i] = i;
}

void peerStep(StatelessPeer* p, const roampl& engine)
{
    roampl* e = &p->geometry;
    roamtune(e); // the engine's tuning, as its restart set it
    e->radius = engine.radius;
    e->obsnap = engine.obsnap;
    e->rotx = engine.rotx;
    e->roty = engine.roty;

    p->leaves.clear();
    Node roots[6];
    for (int f = 0; f < 6; ++f) {
        const double* c = rootCentre[f];
        const double* u = rootUpdir[f];
        roots[f] = evaluate(
            p, PeerLeaf {f, 1, mkvec(u[0], u[1], u[2]), mkvec(c[0] * e->radius, c[1] * e->radius, c[2] * e->radius)});
    }
    std::sort(roots, roots + 6, [](const Node& a, const Node& b) { return a.d2 < b.d2; });
    int leafCount = 6;
    for (const Node& r : roots)
        selectLeaves(p, r, &leafCount);

    // Every selected block is made anew, from the reused storage.
    const std::size_t shown = std::min(p->leaves.size(), p->blocks.size());
    for (std::size_t i = 0; i < shown; ++i) {
        const PeerLeaf& l = p->leaves[i];
        blocktyp* storage = &p->blocks[i];
        storage->child[0] = nullptr;
        roamreserve r {nullptr, nullptr, storage};
        blocktyp* made = nullptr;
        blockmakefrom(e, nullptr, &made, l.level, l.face, l.updir, l.cubecentre, &r);
        if (made)
            setgroup(&p->groups[i], made->vtx, gridindices, blockgroupverts, blockgroupindices);
    }
    for (std::size_t i = shown; i < frameGroupCount; ++i)
        setgroup(&p->groups[i], p->placeholder, p->placeholderIdx, placeholdercount, placeholdercount);
}

} // namespace skybench
