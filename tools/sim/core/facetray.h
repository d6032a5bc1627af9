// Where a ray from a body's centre meets drawn triangles, and how deep a block's flat facets may sag
// below the sphere its vertices lie on. The host draws a flat triangle between three vertices, so the
// shell over a point is the facet the radial line through it crosses, not the nearest vertex.
//
// Crossings use the Moeller-Trumbore ray/triangle test in double, both sides of a triangle counted.
#pragma once

#include <cstddef>
#include <cstdint>

namespace skysim {

// The farthest crossing, along the ray from the origin in direction `dir` (need not be unit), of the
// triangles listed by `idx` (nIdx / 3 index triples into `xyz`, nPos points as x, y, z triples, in the
// same frame as the origin). Returns the distance from the origin in units of |dir|, or a negative value when no
// triangle is crossed or an index lies beyond the points (the host could not draw such a group).
double outermostCrossing(
    const double* xyz, std::size_t nPos, const std::uint16_t* idx, std::size_t nIdx, const double dir[3]);

// The deepest sag, below `shellRadius` about the origin, that any flat triangle between neighbouring
// points of a 9 x 9 grid (81 points, row by row) can reach, whichever diagonal splits each cell: the
// shell radius less the smallest distance from the origin to the plane of such a triangle [same
// units as pos]. A triangle of a block drawn as built lies no deeper under the shell than this.
double deepestGridSag(const double (*pos)[3], double shellRadius);

} // namespace skysim
