// A labelled pair of pictures of one moment: the scene as drawn, and the same view without the
// carrier's mesh (every other vessel still drawn), so a reader can see what the haze changes.
#pragma once

#include "offscreen.h"
#include "sceneview.h"

#include <cstdint>
#include <string>
#include <vector>

namespace skysim {

struct Comparison {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb; // width x height RGB bytes, top row first
};

// Draws the scene twice in the open context (with the carrier's groups, and without them), each through
// renderScene, shrinks both to half size and sets them side by side under a title bar holding
// `caption` and the labels "WITH THE CARRIER" (left) and "WITHOUT THE CARRIER" (right). The result
// is as wide as the context and half as high plus the bar. The context must be at least 2 x 2.
Comparison renderComparison(Offscreen& gl, const SceneView& view, const std::string& caption);

// The w x h RGB picture shrunk to half size by averaging 2 x 2 blocks (an odd last row or column is
// dropped). w, h >= 2 and rgb.size() == w * h * 3.
std::vector<std::uint8_t> halfSize(const std::vector<std::uint8_t>& rgb, int w, int h);

} // namespace skysim
