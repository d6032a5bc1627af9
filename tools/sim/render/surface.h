// The stand-in's own look for a body's ground: the host paints its planets with textures, which the
// stand-in does not have, so the pictures use a procedural surface that makes each body recognisable
// (Earth with oceans, land and ice; a grey Moon; a rusty Mars) and lets a translucent layer over it
// be seen. Nothing here belongs to the add-on.
#pragma once

#include <Orbitersdk.h>

#include <string>

namespace skysim {

// A body's surface as seen in a picture: its name chooses the palette, its rotation (body frame to
// global, row-major, as the host reports it) keeps the pattern fixed to the ground as the body turns.
struct PlanetSurface {
    std::string body;
    MATRIX3 rot = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
};

// Smooth fractal value noise in [0, 1] at point p (sum of `octaves` octaves, the first at lattice
// spacing 1, each next one at half the spacing and half the weight). Deterministic: the same input
// gives the same value on every run and machine. octaves >= 1.
double fractalNoise(const VECTOR3& p, int octaves);

// Colour (rgb in 0..1) of the ground in direction `dirBody` from the centre, given in the body's own
// frame (+y the north pole); the direction need not be of unit length but must not be zero. The body
// name is matched without regard to case: Earth, Moon and Mars have their own palettes, other bodies
// are a mottled grey.
void surfaceColour(const std::string& body, const VECTOR3& dirBody, float rgb[3]);

} // namespace skysim
