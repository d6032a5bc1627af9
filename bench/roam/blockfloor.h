// The least work a split must do, written as plainly as possible: four blocks of 81 vertices, each
// vertex a grid point on the cube face, normalised, scaled to the shell, its normal, stored as a host
// vertex. The engine's split does this and more (running sums, orientation into the carrier's frame,
// bounds, lists and queues); this is what it is measured against.
#pragma once

#include "HostRecords.h"

namespace skybench {

// One block's grid on the cube face: grid point (row, col) = corner + col * across + row * down.
struct FloorGrid {
    double corner[3];
    double across[3];
    double down[3];
};

// Fills out[81 * i + 9 * row + col] for each of the `count` grids, on a shell of radius `shell`.
void floorBlocks(const FloorGrid* grids, int count, double shell, HostVertex* out);

} // namespace skybench
