// The engine's vector and 3 x 3 matrix kit.
//
// Conventions: all geometry is in 64-bit floats. vectyp is (x, y, z) with nothing between the
// components and the layout of the host's VECTOR3; mattyp holds nine floats in row order
// (m11, m12, m13, m21, ..., m33), element (i, j) at index 3i + j, the layout of the host's MATRIX3.
// Both products take the vector first and the matrix second. Every operation reads all of its inputs
// before it writes its result, so a result may be stored over one of its inputs. Angles are radians.
// Nothing here keeps state, allocates, or checks for infinities and NaNs.
#pragma once

#include <cmath>

struct vectyp {
    double x, y, z;
};

struct mattyp {
    double m[9];
};

static_assert(sizeof(vectyp) == 24, "vectyp has the layout of VECTOR3");
static_assert(sizeof(mattyp) == 72, "mattyp has the layout of MATRIX3");

// Below this length vecnorm leaves a vector as it is.
constexpr double vecnormthreshold = 0.00001;

inline vectyp mkvec(double x, double y, double z)
{
    return vectyp {x, y, z};
}

// Square root of x*x + y*y + z*z, summed in that order.
inline double veclen(const vectyp& v)
{
    double sum = v.x * v.x + v.y * v.y;
    sum += v.z * v.z;
    return std::sqrt(sum);
}

// v divided by its length; v unchanged when the length is below 1e-5 (1e-5 itself normalises).
inline vectyp vecnorm(const vectyp& v)
{
    const double len = veclen(v);
    if (std::fabs(len) >= vecnormthreshold)
        return vectyp {v.x / len, v.y / len, v.z / len};
    return v;
}

inline vectyp veccross(const vectyp& a, const vectyp& b)
{
    return vectyp {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline vectyp vecscale(const vectyp& v, double s)
{
    return vectyp {s * v.x, s * v.y, s * v.z};
}

inline vectyp vecadd(const vectyp& a, const vectyp& b)
{
    return vectyp {a.x + b.x, a.y + b.y, a.z + b.z};
}

inline vectyp vecswapyz(const vectyp& v)
{
    return vectyp {v.x, v.z, v.y};
}

// m * v: each row of m dotted with v. With the unit axes of a frame as rows, v's coordinates in it.
inline vectyp matmul(const vectyp& v, const mattyp& m)
{
    const double* e = m.m;
    return vectyp {e[0] * v.x + e[1] * v.y + e[2] * v.z, e[3] * v.x + e[4] * v.y + e[5] * v.z,
        e[6] * v.x + e[7] * v.y + e[8] * v.z};
}

// transpose(m) * v: each column of m dotted with v.
inline vectyp mattmul(const vectyp& v, const mattyp& m)
{
    const double* e = m.m;
    return vectyp {e[0] * v.x + e[3] * v.y + e[6] * v.z, e[1] * v.x + e[4] * v.y + e[7] * v.z,
        e[2] * v.x + e[5] * v.y + e[8] * v.z};
}

inline mattyp mattransp(const mattyp& m)
{
    const double* e = m.m;
    return mattyp {{e[0], e[3], e[6], e[1], e[4], e[7], e[2], e[5], e[8]}};
}

// The matrix whose rows are r0, r1, r2.
inline mattyp matrows(const vectyp& r0, const vectyp& r1, const vectyp& r2)
{
    return mattyp {{r0.x, r0.y, r0.z, r1.x, r1.y, r1.z, r2.x, r2.y, r2.z}};
}

// exp(exponent * ln(base)) for base > 0; 1 for base <= 0, whatever the exponent.
inline double rpower(double base, double exponent)
{
    if (base > 0.0)
        return std::exp(exponent * std::log(base));
    return 1.0;
}
