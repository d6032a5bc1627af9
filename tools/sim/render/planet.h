// The reference body as a lit sphere, drawn as the cap that the camera can see.
#pragma once

#include "surface.h"
#include "viewmath.h"

#include <string>

namespace skysim {

// Draws the part of the sphere (centre `centre`, radius `radius`) visible from the eye: a cap around
// the point under the camera out to the horizon, in rings fine enough that the chords stay far below
// the camera's altitude. Vertices are formed relative to the camera in double. Sets its own modelview;
// lighting is the caller's. With a `surface`, every vertex gets that body's ground colour as its
// ambient and diffuse material colour; without one (null) the caller's material colours the whole
// cap. Draws nothing when the camera is inside the sphere.
void drawPlanetCap(const EyeFrame& eye, const VECTOR3& centre, double radius, const PlanetSurface* surface = nullptr);

// Colour of a body by name (Earth, Moon, Mars; grey for others), rgb in 0..1.
void bodyColour(const std::string& name, float rgb[3]);

// Near and far clip distances that hold the visible cap and everything within `margin` of it.
void capDepthRange(
    const EyeFrame& eye, const VECTOR3& centre, double radius, double margin, double& zNear, double& zFar);

} // namespace skysim
