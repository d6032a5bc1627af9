// The two structural operations of the refinement: splitting a block into four, and collapsing a
// subtree back into one leaf (Duchaineau et al., "ROAMing Terrain: Real-time Optimally Adapting
// Meshes", 1997, applied to square blocks of a cube-mapped sphere).
//
// Both first set aside every record they will need, so that an exhausted heap makes them do nothing
// rather than leave a half-built tree.
#include "roaminternal.h"

#include <cmath>

namespace {

// Records a merge of b will create: a split entry for each merged block that lacks one, and a leaf
// record for each merged block that has children and no leaf record.
void mergeneeds(const blocktyp* b, int* entries, int* links)
{
    if (!b->splitentry)
        ++*entries;
    if (!b->child[0])
        return;
    for (const blocktyp* c : b->child)
        if (c && c->alive && c->child[0])
            mergeneeds(c, entries, links);
    if (!b->leaflink)
        ++*links;
}

void mergefrom(roampl* e, blocktyp* b, roamreserve* r)
{
    if (!b || !b->alive)
        return;
    mergeqremove(e, &b->mergeentry);
    splitqputfrom(e, b, b->splitprio, false, r);
    if (!b->child[0])
        return;
    // Depth first: the children's own subtrees go before the children themselves.
    for (blocktyp* c : b->child)
        if (c && c->child[0])
            mergefrom(e, c, r);
    if (!b->leaflink)
        leafaddfrom(e, b, r);
    for (blocktyp*& c : b->child)
        blockdispose(e, &c);
}

void makechildren(roampl* e, blocktyp* b, roamreserve* r)
{
    const double h = e->radius / rpower(2.0, b->level);
    const vectyp dw = vecscale(veccross(faceaxis(e, b->cubecentre), b->updir), h);
    const vectyp du = vecscale(b->updir, h);
    const vectyp mdw = vecscale(dw, -1.0);
    const vectyp mdu = vecscale(du, -1.0);
    const vectyp& c = b->cubecentre;
    // Child 0 covers the parent's grid columns 4..8 of rows 0..4, then clockwise: 1 rows 4..8,
    // 2 columns 0..4 of rows 4..8, 3 columns 0..4 of rows 0..4.
    const vectyp centres[4] = {
        vecadd(vecadd(c, dw), du), vecadd(vecadd(c, dw), mdu), vecadd(vecadd(c, mdw), mdu), vecadd(vecadd(c, mdw), du)};
    for (int i = 0; i < 4; ++i)
        blockmakefrom(e, b, &b->child[i], b->level + 1, b->face, b->updir, centres[i], r);
}

} // namespace

vectyp faceaxis(const roampl* e, const vectyp& c)
{
    vectyp n = mkvec(0.0, 0.0, 0.0);
    if (std::fabs(c.x) == e->radius)
        n = mkvec(c.x > 0.0 ? 1.0 : -1.0, 0.0, 0.0);
    if (std::fabs(c.y) == e->radius)
        n = mkvec(0.0, c.y > 0.0 ? 1.0 : -1.0, 0.0);
    if (std::fabs(c.z) == e->radius)
        n = mkvec(0.0, 0.0, c.z > 0.0 ? 1.0 : -1.0);
    return n;
}

void blocksplit(roampl* e, blocktyp* b)
{
    if (!b || !b->alive)
        return;
    const bool inner = b->child[0] != nullptr;
    const bool tomerge = b->level > 3;
    const bool queuechildren = b->level < e->maxlevel;
    int entries = tomerge && !b->mergeentry ? 1 : 0;
    int links = 0;
    int blocks = 0;
    if (!inner) {
        blocks = 4;
        links = 8;
        entries += queuechildren ? 4 : 0;
    }
    roamreserve r;
    if (!reservetake(&r, entries, links, blocks))
        return;

    splitqremove(e, &b->splitentry);
    // Levels 1 to 3 stay split until teardown, so they never become merge candidates.
    if (tomerge)
        mergeqputfrom(e, b, b->mergeprio, false, &r);
    if (!inner) {
        makechildren(e, b, &r);
        for (blocktyp* c : b->child)
            leafaddfrom(e, c, &r);
        for (blocktyp* c : b->child)
            alladdfrom(e, c, &r);
        if (b->leaflink) {
            linkunlink(&e->leaves, b->leaflink);
            delete b->leaflink;
            b->leaflink = nullptr;
            e->leafload -= roamleafload;
        }
        // Children enter at priority 0; a later re-prioritisation pass gives them their real one.
        if (queuechildren)
            for (blocktyp* c : b->child)
                splitqputfrom(e, c, c->splitprio, false, &r);
    }
    reservefree(&r);
}

void blockmerge(roampl* e, blocktyp* b)
{
    if (!b || !b->alive)
        return;
    int entries = 0;
    int links = 0;
    mergeneeds(b, &entries, &links);
    roamreserve r;
    if (!reservetake(&r, entries, links, 0))
        return;
    mergefrom(e, b, &r);
    reservefree(&r);
}
