// Least-squares sphere through a set of points: how the tests and the summary tell where the drawn
// shell lies, whatever the carrier's placement.
#pragma once

#include <vector>

namespace skysim {

struct SphereFit {
    bool ok = false; // false for fewer than 4 points or points on one plane
    double centre[3] = {0, 0, 0};
    double radius = 0;
    double maxDeviation = 0; // largest | |p - centre| - radius |
};

// Fits |p - c| = r to the points (x, y, z triples) by linear least squares in double. Points should
// be given relative to somewhere near them (a body's centre) to keep the sums well conditioned.
SphereFit fitSphere(const std::vector<double>& xyz);

} // namespace skysim
