// The pictures: the scene as the host's built-in graphics would draw it, and a wireframe of the
// tessellation's blocks coloured by level.
#pragma once

#include "offscreen.h"
#include "sceneview.h"

#include <cstdint>
#include <vector>

namespace skysim {

struct SceneStats {
    int groupsDrawn = 0; // groups whose triangles were handed to GL
    int groupsSkipped = 0; // groups with a null array or an index beyond their vertex count
    long triangles = 0;
};

// Draws the body with the stand-in's procedural ground (see surface.h), lit by the Sun per vertex,
// clears the depth buffer, then draws every vessel group as it stands, in the view's order: vertex and
// index arrays used in place, the group's material (diffuse alpha as the opacity, blended over the
// picture, depth written as the host does), lit by its vessel's one light (vessellight.h) through its
// normals, only the clockwise side of each triangle as the host does, placed by its vessel's position
// and rotation, seen from the camera, cut off by the host's far plane 5e6 m ahead of it. Groups that
// would read outside their own vertex array are skipped, not drawn. The context must be open; returns
// the picture as RGB rows, top first.
std::vector<std::uint8_t> renderScene(Offscreen& gl, const SceneView& view, SceneStats* stats = nullptr);

struct WireStats {
    int blocks = 0; // 81-vertex groups drawn
    int unknownLevel = 0; // blocks whose level could not be told from their vertices
    int levelCount[41] = {}; // blocks per level
    int levelUnderObserver = 0; // level of the block under the focus vessel, 0 if none
};

// Draws, from above the focus vessel looking down at the body, the outline of every block group
// (81 vertices) in the colour of its level, the body as a dim sphere that hides the far side, a mark
// at the point under the focus vessel and a legend of the levels present.
std::vector<std::uint8_t> renderWireframe(Offscreen& gl, const SceneView& view, WireStats* stats = nullptr);

// The level of every block group of the view (0 where it cannot be told), in group order, and the
// index of the block group whose area holds the point under the focus vessel (-1 if none).
std::vector<int> blockLevels(const SceneView& view, int* underObserver = nullptr);

} // namespace skysim
