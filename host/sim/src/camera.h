// The camera: external view behind the focus vessel, cockpit view, or fixed in the global frame.
#pragma once

#include "world.h"

namespace hostsim {

struct CameraState {
    VECTOR3 pos = {{0, 0, 0}};
    VECTOR3 dir = {{0, 0, 1}};
    MATRIX3 rot = {{1, 0, 0, 0, 1, 0, 0, 0, 1}}; // camera axes (x right, y up, z view) -> global
};

// Where the camera is now, from the mode and the focus vessel's current pose.
CameraState cameraState();

} // namespace hostsim
