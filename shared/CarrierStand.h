// Where the carrier vessel stands: its origin this high over the ground, set by the plug-in's
// touchdown points (the host places a landed vessel at its centre-of-gravity elevation) and taken by
// the engine to lower its output vertices into the carrier's frame.
#pragma once

constexpr double carrierStandHeight = 10000.0; // [m] the carrier's origin above the surface
