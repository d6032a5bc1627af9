// Block construction and vertex geometry: a 9 x 9 grid on a cube face, projected onto the shell.
//
// The sphere is a cube whose faces lie at distance radius from the centre, each face pushed out
// radially onto the shell (the cube-to-sphere projection by normalisation).
// Per face: outward axis N, the face's updir U and W = N x U; grid columns advance along W and grid
// rows along -U. Grid points are carried by running sums from vertex to vertex, not recomputed.
// Vertex components are 32-bit floats; each is rounded when it is stored and later formulas read
// the stored value.
#include "roaminternal.h"

#include <cmath>

namespace {

// Corner vector K = r (U - W), in units of r, and the column direction W, per face.
struct facerow {
    double kx, ky, kz;
    double wx, wy, wz;
};

const facerow facetable[6] = {
    {-1, 0, 1, 1, 0, 0}, // 0: north pole, U = +z
    {-1, 0, -1, 1, 0, 0}, // 1: south pole, U = -z
    {0, 1, -1, 0, 0, 1}, // 2: +x, U = +y
    {0, 1, 1, 0, 0, -1}, // 3: -x, U = +y
    {1, 1, 0, -1, 0, 0}, // 4: +z, U = +y
    {-1, 1, 0, 1, 0, 0}, // 5: -z, U = +y
};

bool knownface(std::int32_t face)
{
    return face >= 0 && face < 6;
}

void buildgrid(const roampl* e, blocktyp* b)
{
    const double shell = e->radius + e->shellheight;
    vectyp g = b->gridstart;
    for (int row = 0; row < 9; ++row) {
        for (int col = 0; col < 9; ++col) {
            HostVertex& v = b->srcvtx[9 * row + col];
            const vectyp p = vecscale(vecnorm(g), shell);
            v.x = static_cast<float>(p.x);
            v.y = static_cast<float>(p.y);
            v.z = static_cast<float>(p.z);
            const vectyp n = vecnorm(p);
            v.nx = static_cast<float>(n.x);
            v.ny = static_cast<float>(n.y);
            v.nz = static_cast<float>(n.z);
            v.tu = 0.0f;
            v.tv = 0.0f;
            g = vecadd(g, b->colstep);
        }
        g = vecadd(g, b->rowstep);
    }
}

// Rotation about y by beta, then about x by alpha, of one stored (x, y, z) triple in place.
void rotatetriple(float& x, float& y, float& z, double ca, double sa, double cb, double sb)
{
    const double x0 = x;
    const double z0 = z;
    x = static_cast<float>(x0 * cb + z0 * sb);
    z = static_cast<float>(-x0 * sb + z0 * cb);
    const double y0 = y;
    const double z1 = z;
    y = static_cast<float>(y0 * ca - z1 * sa);
    z = static_cast<float>(y0 * sa + z1 * ca);
}

} // namespace

void blockframe(roampl* e, blocktyp* b)
{
    if (!b || !b->alive || !knownface(b->face))
        return;
    const facerow& f = facetable[b->face];
    const double r = e->radius;
    b->scale = 1.0 / rpower(2.0, b->level - 1);
    b->step = 2.0 * r / 8.0 * b->scale;
    const vectyp k = mkvec(r * f.kx, r * f.ky, r * f.kz);
    b->colstep = mkvec(b->step * f.wx, b->step * f.wy, b->step * f.wz);
    b->gridstart = vecadd(b->cubecentre, vecscale(k, b->scale));
    b->rowstep = mkvec(-9.0 * b->colstep.x - b->step * b->updir.x, -9.0 * b->colstep.y - b->step * b->updir.y,
        -9.0 * b->colstep.z - b->step * b->updir.z);
}

void blockbound(roampl* e, blocktyp* b)
{
    if (!b || !b->alive)
        return;
    // 1.414 as written, not the square root of 2; the body's radius, without the shell height.
    b->size = e->radius / rpower(2.0, b->level - 1) * 1.414;
    const HostVertex& mid = b->srcvtx[40];
    b->centre = mkvec(mid.x, mid.y, mid.z);
}

void blockorient(roampl* e, blocktyp* b)
{
    if (!b || !b->alive)
        return;
    const double ca = std::cos(e->rotx);
    const double sa = std::sin(e->rotx);
    const double cb = std::cos(e->roty);
    const double sb = std::sin(e->roty);
    for (int i = 0; i < roamgridverts; ++i) {
        HostVertex v = b->srcvtx[i];
        rotatetriple(v.x, v.y, v.z, ca, sa, cb, sb);
        rotatetriple(v.nx, v.ny, v.nz, ca, sa, cb, sb);
        v.y = static_cast<float>(static_cast<double>(v.y) - e->radius - e->yshift);
        b->vtx[i] = v;
    }
}

void orientall(roampl* e)
{
    if (!e->enabled)
        return;
    for (linktyp* l = e->allblocks; l; l = l->next)
        blockorient(e, l->block);
}

void blockmakefrom(roampl* e, blocktyp* parent, blocktyp** slot, std::int32_t level, std::int32_t face, vectyp updir,
    vectyp cubecentre, roamreserve* r)
{
    // A face outside the table has no geometry; making nothing is the safe answer.
    if (!slot || !knownface(face))
        return;
    blocktyp* b = newblock(r);
    if (!b)
        return;
    *slot = b;
    b->alive = 1;
    for (blocktyp*& c : b->child)
        c = nullptr;
    b->parent = parent;
    b->cubecentre = cubecentre;
    b->face = face;
    b->level = level;
    b->updir = updir;
    b->splitentry = nullptr;
    b->mergeentry = nullptr;
    b->leaflink = nullptr;
    b->alllink = nullptr;
    b->splitprio = 0;
    b->mergeprio = 0;
    blockframe(e, b);
    buildgrid(e, b);
    blockbound(e, b);
    blockorient(e, b);
}

void blockmake(roampl* e, blocktyp* parent, blocktyp** slot, std::int32_t level, std::int32_t face, vectyp updir,
    vectyp cubecentre)
{
    blockmakefrom(e, parent, slot, level, face, updir, cubecentre, nullptr);
}
