// The flight plot: camera distance, leaves shown, add-on time per step and haze factor over the steps.
#pragma once

#include "offscreen.h"
#include "trace.h"

#include <cstdint>
#include <string>
#include <vector>

namespace skysim {

// Draws four stacked panels over the step axis: camera distance in body radii (with the 2, 1.5 and
// 1.25 radii marks), leaves shown, add-on time per step [us] and haze factor; steps with a carrier
// are shaded. `title` heads the picture. The context must be open; returns RGB rows, top first.
std::vector<std::uint8_t> renderPlot(Offscreen& gl, const std::vector<TraceRow>& rows, const std::string& title);

} // namespace skysim
