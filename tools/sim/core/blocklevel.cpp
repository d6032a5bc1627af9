#include "blocklevel.h"

#include <cmath>

namespace skysim {

namespace {

// Index of the component of largest magnitude: the cube face the direction points through.
int dominantAxis(const double* p)
{
    const double ax = std::fabs(p[0]), ay = std::fabs(p[1]), az = std::fabs(p[2]);
    if (ax >= ay && ax >= az)
        return 0;
    return ay >= az ? 1 : 2;
}

} // namespace

int blockLevel(const double (*pos)[3])
{
    const int axis = dominantAxis(pos[40]);
    const double sign = pos[40][axis] < 0 ? -1.0 : 1.0;
    double cube[2][3];
    const int corners[2] = {0, 8};
    for (int c = 0; c < 2; ++c) {
        const double* p = pos[corners[c]];
        const double along = p[axis] * sign;
        if (!(along > 0))
            return 0;
        for (int k = 0; k < 3; ++k)
            cube[c][k] = p[k] / along;
    }
    const double dx = cube[1][0] - cube[0][0], dy = cube[1][1] - cube[0][1], dz = cube[1][2] - cube[0][2];
    const double span = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (!(span > 1e-9) || span > 2.5)
        return 0;
    const double level = 1.0 + std::log2(2.0 / span);
    const long rounded = std::lround(level);
    if (rounded < 1 || rounded > 40 || std::fabs(level - double(rounded)) > 0.1)
        return 0;
    return int(rounded);
}

void levelColour(int level, float rgb[3])
{
    static const float table[12][3] = {
        {0.45f, 0.45f, 0.55f},
        {0.35f, 0.35f, 1.00f},
        {0.20f, 0.65f, 1.00f},
        {0.10f, 0.85f, 0.85f},
        {0.15f, 0.85f, 0.35f},
        {0.60f, 0.90f, 0.15f},
        {0.95f, 0.90f, 0.15f},
        {1.00f, 0.65f, 0.10f},
        {1.00f, 0.40f, 0.10f},
        {1.00f, 0.15f, 0.15f},
        {1.00f, 0.25f, 0.70f},
        {1.00f, 1.00f, 1.00f},
    };
    const int i = level < 1 ? 0 : level > 12 ? 11 : level - 1;
    for (int k = 0; k < 3; ++k)
        rgb[k] = table[i][k];
}

} // namespace skysim
