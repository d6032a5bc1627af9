// One simulation step in the host's order, the drawing phase, and the time acceleration.
#pragma once

#include "world.h"

namespace hostsim {

// Advances the simulation by one step (see hostsim::step for the order).
void runStep();

// Drawing phase: visuals created or destroyed by visual range, then every visual drawn.
void drawingPhase();

// Whether the vessel is within visual range of the camera now.
bool inVisualRange(const Vessel& v);

// Whether a mesh with that visibility mode shows in the current camera mode.
bool meshVisible(const Vessel& v, WORD mode);

// Draws one vessel's visual from its groups as they stand; fills v.draw.
void drawVisual(Vessel& v);

// Time acceleration, clamped to [1, 100000]; plug-ins hear of a change.
void setWarp(double warp);

} // namespace hostsim
