// The light of the pictures: the Sun as the host's one directional light, plus the host's faint
// ambient light, so a body shows a day side, a terminator and a night side.
#pragma once

#include "sceneview.h"
#include "vessellight.h"
#include "viewmath.h"

namespace skysim {

// Share of full light that the ambient term gives everything, lit side or not.
extern const float ambientLight;

// Unit vector in global axes from the reference body towards the Sun. The host's global frame has
// the Sun at its origin; a body placed at (or within a metre of) the origin has no such direction,
// and gets a fixed one instead.
VECTOR3 sunDirection(const SceneView& view);

// Sets GL light 0 to white light from direction `dir` under the current modelview, with the given
// ambient share on light 0 and `globalAmbient` for the scene, and turns lighting on.
void setDirectionalLight(const VECTOR3& dir, float ambient, float globalAmbient);

// Where the Sun stands (global): the origin of the host's global frame, or for a body placed at the
// origin a point 1 AU away along sunDirection.
VECTOR3 sunPosition(const SceneView& view);

// The view's reference body as the planet that lights its vessels.
LightingBody lightingBody(const SceneView& view);

// Sets GL light 0 to a vessel's light (its Sun colour from `sunDir`, its ambient term) for the camera
// `eye`, with `sceneAmbient` as the scene's own ambient light, and turns lighting on. Loads the
// camera's rotation as the modelview.
void setVesselLight(const EyeFrame& eye, const VECTOR3& sunDir, const VesselLight& light, float sceneAmbient);

// Sets GL light 0 to white sunlight from `sunDir` (global axes) for the camera `eye`, with the given
// ambient share and no other ambient light, and turns lighting on. Loads the camera's rotation as
// the modelview; callers that draw afterwards set their own.
void setSunLight(const EyeFrame& eye, const VECTOR3& sunDir, float ambient);

} // namespace skysim
