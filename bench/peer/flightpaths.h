// The flights the engine and its stateless peer are compared on: the observer's body, place and
// velocity at every step, eastwards at latitude 0.3 rad.
#pragma once

#include "HostRecords.h"

namespace skybench {

struct FlightPath {
    const char* name;
    int steps;
    double dt; // simulated seconds per step
    double alt0, alt1; // altitude at the first and the last step [m]; between them even in log(alt + 1 km)
    double speed0, speed1; // ground speed at the first and the last step [m/s], linear between
    int switchStep; // from this step on the observer is at the Moon (-1: never)
};

constexpr int flightPathCount = 6;
extern const FlightPath flightPaths[flightPathCount];

struct FlightSample {
    const char* body; // "Earth" or "Moon"
    double radius; // the body's [m]
    double lat, lng; // [rad]
    double altitude; // [m]
    HostVector velocity; // global axes [m/s]
    double speed; // |velocity| [m/s]
};

// The observer at step k of path p, with its longitude carried over the steps before (call with
// k = 0, 1, 2 ... in order; `lng` holds the running longitude).
FlightSample sampleFlight(const FlightPath& p, int k, double* lng);

} // namespace skybench
