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
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// Equal to the bit: -0 and +0 have sines of different sign, and a NaN must never match.
bool samebits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0; // NOLINT(bugprone-suspicious-memory-comparison): bits wanted
}

bool knownface(std::int32_t face)
{
    return face >= 0 && face < 6;
}

// vecnorm of (x, y, z) scaled by s, written lane by lane so that two points go through one SSE2
// division or square root: the operations and their order are vecnorm's, so every result is the
// same to the bit. A length below the threshold divides by 1, which leaves the point as it is.
#ifdef __SSE2__
void normscale2(const double* x, const double* y, const double* z, double s, double* ox, double* oy, double* oz)
{
    const __m128d vx = _mm_loadu_pd(x);
    const __m128d vy = _mm_loadu_pd(y);
    const __m128d vz = _mm_loadu_pd(z);
    __m128d sum = _mm_add_pd(_mm_mul_pd(vx, vx), _mm_mul_pd(vy, vy));
    sum = _mm_add_pd(sum, _mm_mul_pd(vz, vz));
    const __m128d len = _mm_sqrt_pd(sum);
    const __m128d big = _mm_cmpge_pd(len, _mm_set1_pd(vecnormthreshold));
    const __m128d div = _mm_or_pd(_mm_and_pd(big, len), _mm_andnot_pd(big, _mm_set1_pd(1.0)));
    const __m128d scale = _mm_set1_pd(s);
    _mm_storeu_pd(ox, _mm_mul_pd(scale, _mm_div_pd(vx, div)));
    _mm_storeu_pd(oy, _mm_mul_pd(scale, _mm_div_pd(vy, div)));
    _mm_storeu_pd(oz, _mm_mul_pd(scale, _mm_div_pd(vz, div)));
}
#else
void normscale2(const double* x, const double* y, const double* z, double s, double* ox, double* oy, double* oz)
{
    for (int k = 0; k < 2; ++k) {
        const vectyp n = vecscale(vecnorm(mkvec(x[k], y[k], z[k])), s);
        ox[k] = n.x;
        oy[k] = n.y;
        oz[k] = n.z;
    }
}
#endif

void buildgrid(const roampl* e, blocktyp* b)
{
    const double shell = e->radius + e->shellheight;
    // The grid points come from running sums, one after the other; their projections are
    // independent and go two at a time. One spare lane pads the 81 points to an even count.
    constexpr int lanes = roamgridverts + 1;
    double gx[lanes], gy[lanes], gz[lanes];
    double px[lanes], py[lanes], pz[lanes];
    double nx[lanes], ny[lanes], nz[lanes];
    vectyp g = b->gridstart;
    for (int row = 0; row < 9; ++row) {
        for (int col = 0; col < 9; ++col) {
            const int i = 9 * row + col;
            gx[i] = g.x;
            gy[i] = g.y;
            gz[i] = g.z;
            g = vecadd(g, b->colstep);
        }
        g = vecadd(g, b->rowstep);
    }
    gx[lanes - 1] = gy[lanes - 1] = gz[lanes - 1] = 1.0;
    for (int i = 0; i < lanes; i += 2)
        normscale2(gx + i, gy + i, gz + i, shell, px + i, py + i, pz + i);
    // The normal is taken from the 64-bit position, before it is rounded for storage.
    for (int i = 0; i < lanes; i += 2)
        normscale2(px + i, py + i, pz + i, 1.0, nx + i, ny + i, nz + i);
    for (int i = 0; i < roamgridverts; ++i) {
        HostVertex& v = b->srcvtx[i];
        v.x = static_cast<float>(px[i]);
        v.y = static_cast<float>(py[i]);
        v.z = static_cast<float>(pz[i]);
        v.nx = static_cast<float>(nx[i]);
        v.ny = static_cast<float>(ny[i]);
        v.nz = static_cast<float>(nz[i]);
        v.tu = 0.0f;
        v.tv = 0.0f;
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
    if (!e->orientknown || !samebits(e->orientrotx, e->rotx) || !samebits(e->orientroty, e->roty)) {
        e->orientca = std::cos(e->rotx);
        e->orientsa = std::sin(e->rotx);
        e->orientcb = std::cos(e->roty);
        e->orientsb = std::sin(e->roty);
        e->orientrotx = e->rotx;
        e->orientroty = e->roty;
        e->orientknown = 1;
    }
    const double ca = e->orientca;
    const double sa = e->orientsa;
    const double cb = e->orientcb;
    const double sb = e->orientsb;
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
