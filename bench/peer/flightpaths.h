// The flights the engine and its stateless peer are compared on: the observer's body, place and
// velocity at every step, eastwards at latitude 0.3 rad.
#pragma once

#include "HostRecords.h"

struct flightpath {
    const char* name;
    int steps;
    double dt; // simulated seconds per step
    double alt0, alt1; // altitude at the first and the last step [m]; between them even in log(alt + 1 km)
    double speed0, speed1; // ground speed at the first and the last step [m/s], linear between
    int switchstep; // from this step on the observer is at the Moon (-1: never)
};

constexpr int flightpathcount = 6;
extern const flightpath flightpaths[flightpathcount];

struct flightsample {
    const char* body; // "Earth" or "Moon"
    double radius; // the body's [m]
    double lat, lng; // [rad]
    double altitude; // [m]
    HostVector velocity; // global axes [m/s]
    double speed; // |velocity| [m/s]
};

// The observer at step k of path p, with its longitude carried over the steps before (call with
// k = 0, 1, 2 ... in order; `lng` holds the running longitude).
flightsample sampleflight(const flightpath& p, int k, double* lng);
