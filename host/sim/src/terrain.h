// Terrain heights of the stand-in's bodies: smooth procedural ground over the mean radius, present in
// the generations that have terrain (generation.h) unless switched off.
#pragma once

#include "world.h"

namespace hostsim {

// Height of the ground over the body's mean radius at (lng, lat) [m], as the stand-in has it now: 0
// where terrain is absent in this generation or switched off, over the Earth's sea, and on bodies
// without elevation data (any body but the Earth, the Moon and Mars).
double terrainHeight(const Body& b, double lng, double lat);

} // namespace hostsim
