// Value noise on a 3D lattice, sampled on the unit sphere: no seams, no pole artefacts, and smooth
// (the lattice is blended with a smoothstep, so heights and their slopes are continuous). The same
// noise paints the demo's pictures, so the land in them is where the terrain rises.
#include "terrain.h"

#include "generation.h"
#include "geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace hostsim {

namespace {

// A well-mixed 32-bit hash of a lattice point (integer finaliser after Murmur3), as a value in [0, 1].
double latticeValue(std::int64_t x, std::int64_t y, std::int64_t z)
{
    std::uint64_t h = std::uint64_t(x) * 0x9E3779B97F4A7C15ull;
    h ^= std::uint64_t(y) * 0xC2B2AE3D27D4EB4Full;
    h ^= std::uint64_t(z) * 0x165667B19E3779F9ull;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return double(h >> 11) * (1.0 / 9007199254740992.0);
}

double smooth(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

double lerp(double a, double b, double t)
{
    return a + (b - a) * t;
}

double valueNoise(double x, double y, double z)
{
    const double fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const std::int64_t ix = std::int64_t(fx), iy = std::int64_t(fy), iz = std::int64_t(fz);
    const double tx = smooth(x - fx), ty = smooth(y - fy), tz = smooth(z - fz);
    double c[2][2];
    for (int j = 0; j < 2; ++j) {
        for (int k = 0; k < 2; ++k)
            c[j][k] = lerp(latticeValue(ix, iy + j, iz + k), latticeValue(ix + 1, iy + j, iz + k), tx);
    }
    return lerp(lerp(c[0][0], c[1][0], ty), lerp(c[0][1], c[1][1], ty), tz);
}

// 0 below `from`, `peak` from `from + span` on, a smoothstep between: no kink where the ground rises.
double rise(double noise, double from, double span, double peak)
{
    return peak * smooth(std::clamp((noise - from) / span, 0.0, 1.0));
}

// Elevation [m] of a body's ground in unit direction d of its own frame.
double reliefHeight(const std::string& body, const VECTOR3& d)
{
    if (body == "earth") {
        const double h = earthRelief(d);
        return h <= earthSeaLevel ? 0.0 : rise(h, earthSeaLevel, 0.3, 8000.0);
    }
    if (body == "mars")
        return rise(fractalNoise(noiseCoordinates(d, 1.5, 21.9), 9), 0.3, 0.45, 21000.0);
    if (body == "moon")
        return rise(fractalNoise(noiseCoordinates(d, 2.6, 17.3), 8), 0.3, 0.5, 5000.0);
    return 0.0;
}

} // namespace

VECTOR3 noiseCoordinates(const VECTOR3& d, double scale, double shift)
{
    return _V(d.x * scale + shift, d.y * scale + shift * 0.7, d.z * scale - shift * 1.3);
}

double fractalNoise(const VECTOR3& p, int octaves)
{
    double sum = 0, weight = 1, total = 0, k = 1;
    for (int o = 0; o < std::max(1, octaves); ++o) {
        sum += weight * valueNoise(p.x * k, p.y * k, p.z * k);
        total += weight;
        weight *= 0.5;
        k *= 2.0;
    }
    return sum / total;
}

double earthRelief(const VECTOR3& dirBody)
{
    return fractalNoise(noiseCoordinates(dirBody, 1.7, 11.3), 11);
}

double terrainHeight(const Body& b, double lng, double lat)
{
    if (!generation().terrain || !world().terrainOn)
        return 0.0;
    return reliefHeight(lowerCase(b.name), equToLocal(lng, lat, 1.0));
}

void setTerrain(bool on)
{
    world().terrainOn = on;
}

double terrainElevation(OBJHANDLE body, double lng, double lat)
{
    const Body* b = findBody(body);
    return b ? terrainHeight(*b, lng, lat) : 0.0;
}

} // namespace hostsim
