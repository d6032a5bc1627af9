// A stateless peer of the engine, kept for comparison only (it is in no deliverable): every step it
// selects the leaves afresh, top-down from the six cube faces, and makes every selected block anew.
// Same cube sphere, 9 x 9 blocks, split test, distance metric and leaf cap as the engine; no queues,
// no lists, no time budgets.
#pragma once

#include "FrameRecord.h"
#include "roam.h"

#include <vector>

namespace skybench {

// A selected leaf: where its block lies on the cube.
struct PeerLeaf {
    std::int32_t face;
    std::int32_t level;
    vectyp updir;
    vectyp cubecentre;
};

struct StatelessPeer {
    roampl geometry; // per-body fields, observer and rotation only; it never holds a tessellation
    blocktyp scratch; // a node's frame and bound while the split test looks at it
    std::vector<blocktyp> blocks; // storage of the blocks made in a step, reused every step
    std::vector<PeerLeaf> leaves; // the last step's selection
    HostMeshGroup groups[frameGroupCount]; // the last step's output, as the engine's groups
    HostVertex placeholder[3];
    std::uint16_t placeholderIdx[3];
};

// Sizes the block storage and the selection once, so that a step allocates nothing.
void peerInit(StatelessPeer* p);

// One step, seen as the engine saw it: the restart's tuning, and the radius, observer snapshot and
// rotation copied from `engine` (which must be started, so that gridindices is filled). Selects the leaves, makes each
// of their blocks and points the groups at them; the rest at the placeholder.
void peerStep(StatelessPeer* p, const roampl& engine);

} // namespace skybench
