// Umbrella header of the stand-in host SDK.
#pragma once

#include "OrbiterAPI.h"
#include "VesselAPI.h"
