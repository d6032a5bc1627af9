#include "blockfloor.h"

#include <cmath>

namespace skybench {

void floorBlocks(const FloorGrid* grids, int count, double shell, HostVertex* out)
{
    for (int b = 0; b < count; ++b) {
        const FloorGrid& g = grids[b];
        for (int row = 0; row < 9; ++row) {
            for (int col = 0; col < 9; ++col) {
                const double x = g.corner[0] + col * g.across[0] + row * g.down[0];
                const double y = g.corner[1] + col * g.across[1] + row * g.down[1];
                const double z = g.corner[2] + col * g.across[2] + row * g.down[2];
                const double inv = 1.0 / std::sqrt(x * x + y * y + z * z);
                HostVertex& v = out[81 * b + 9 * row + col];
                v.x = static_cast<float>(x * inv * shell);
                v.y = static_cast<float>(y * inv * shell);
                v.z = static_cast<float>(z * inv * shell);
                v.nx = static_cast<float>(x * inv);
                v.ny = static_cast<float>(y * inv);
                v.nz = static_cast<float>(z * inv);
                v.tu = 0.0f;
                v.tv = 0.0f;
            }
        }
    }
}

} // namespace skybench
