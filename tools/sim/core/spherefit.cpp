#include "spherefit.h"

#include <cmath>

namespace skysim {

namespace {

// Solves the 4 x 4 system a x = b by Gaussian elimination with partial pivoting.
bool solve4(double a[4][4], double b[4], double x[4])
{
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r) {
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col]))
                pivot = r;
        }
        if (!(std::fabs(a[pivot][col]) > 1e-300))
            return false;
        for (int c = 0; c < 4; ++c)
            std::swap(a[col][c], a[pivot][c]);
        std::swap(b[col], b[pivot]);
        for (int r = col + 1; r < 4; ++r) {
            const double f = a[r][col] / a[col][col];
            for (int c = col; c < 4; ++c)
                a[r][c] -= f * a[col][c];
            b[r] -= f * b[col];
        }
    }
    for (int r = 3; r >= 0; --r) {
        double s = b[r];
        for (int c = r + 1; c < 4; ++c)
            s -= a[r][c] * x[c];
        x[r] = s / a[r][r];
    }
    return true;
}

} // namespace

SphereFit fitSphere(const std::vector<double>& xyz)
{
    SphereFit fit;
    const std::size_t n = xyz.size() / 3;
    if (n < 4)
        return fit;
    // Scale to about unit size so that the normal equations stay well conditioned.
    double scale = 0;
    for (double v : xyz)
        scale = std::fmax(scale, std::fabs(v));
    if (!(scale > 0))
        return fit;
    // |p|^2 = 2 p.c + k, with k = r^2 - |c|^2: linear in (c, k).
    double a[4][4] = {}, b[4] = {};
    for (std::size_t i = 0; i < n; ++i) {
        const double row[4] = {2 * xyz[3 * i] / scale, 2 * xyz[3 * i + 1] / scale, 2 * xyz[3 * i + 2] / scale, 1};
        const double rhs = (xyz[3 * i] * xyz[3 * i] + xyz[3 * i + 1] * xyz[3 * i + 1] + xyz[3 * i + 2] * xyz[3 * i + 2])
            / (scale * scale);
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c)
                a[r][c] += row[r] * row[c];
            b[r] += row[r] * rhs;
        }
    }
    double x[4];
    if (!solve4(a, b, x))
        return fit;
    const double r2 = x[3] + x[0] * x[0] + x[1] * x[1] + x[2] * x[2];
    if (!(r2 > 0))
        return fit;
    for (int k = 0; k < 3; ++k)
        fit.centre[k] = x[k] * scale;
    fit.radius = std::sqrt(r2) * scale;
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = xyz[3 * i] - fit.centre[0], dy = xyz[3 * i + 1] - fit.centre[1],
                     dz = xyz[3 * i + 2] - fit.centre[2];
        fit.maxDeviation = std::fmax(fit.maxDeviation, std::fabs(std::sqrt(dx * dx + dy * dy + dz * dz) - fit.radius));
    }
    fit.ok = true;
    return fit;
}

} // namespace skysim
