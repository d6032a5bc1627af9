#include "flightpaths.h"

#include <cmath>

namespace skybench {

namespace {

constexpr double earthRadius = 6371000.0; // [m]
constexpr double moonRadius = 1737400.0; // [m]
constexpr double latitude = 0.3; // [rad]
constexpr double frame = 1.0 / 60.0; // one frame at 60 fps [s]

double altitudeAt(const FlightPath& p, double t)
{
    const double a = std::log(p.alt0 + 1000.0), b = std::log(p.alt1 + 1000.0);
    return std::exp(a + (b - a) * t) - 1000.0;
}

} // namespace

const FlightPath flightPaths[flightPathCount] = {
    {"low orbit pass", 1200, 1.0, 200000.0, 200000.0, 7800.0, 7800.0, -1},
    {"entry 120 km to ground", 1200, 1.0, 120000.0, 0.0, 7500.0, 100.0, -1},
    {"ascent to 300 km", 1200, 1.0, 0.0, 300000.0, 0.0, 7800.0, -1},
    {"hover at 10 m", 1200, frame, 10.0, 10.0, 0.0, 0.0, -1},
    {"10 km at 7.8 km/s", 1200, frame, 10000.0, 10000.0, 7800.0, 7800.0, -1},
    {"restart inside 2 R", 1200, 1.0, 0.3 * earthRadius, 0.3 * moonRadius, 1000.0, 1000.0, 600},
};

FlightSample sampleFlight(const FlightPath& p, int k, double* lng)
{
    const bool moon = p.switchStep >= 0 && k >= p.switchStep;
    FlightSample s;
    s.body = moon ? "Moon" : "Earth";
    s.radius = moon ? moonRadius : earthRadius;
    const double span = p.steps > 1 ? double(p.steps - 1) : 1.0;
    // The restart path holds 0.3 radii of each body in turn.
    if (p.switchStep >= 0)
        s.altitude = moon ? p.alt1 : p.alt0;
    else
        s.altitude = altitudeAt(p, k / span);
    const double next = p.switchStep >= 0 ? s.altitude : altitudeAt(p, (k + 1) / span);
    const double ground = p.speed0 + (p.speed1 - p.speed0) * (k / span);
    if (k > 0)
        *lng += ground * p.dt / (s.radius + s.altitude);
    s.lat = latitude;
    s.lng = *lng;
    // East and up at (lat, lng) in the frame the benchmark places the camera in.
    const double climb = (next - s.altitude) / p.dt;
    const HostVector east {-std::sin(s.lng), 0.0, std::cos(s.lng)};
    const HostVector up {std::cos(s.lat) * std::cos(s.lng), std::sin(s.lat), std::cos(s.lat) * std::sin(s.lng)};
    s.velocity
        = HostVector {ground * east.x + climb * up.x, ground * east.y + climb * up.y, ground * east.z + climb * up.z};
    s.speed = std::sqrt(s.velocity.x * s.velocity.x + s.velocity.y * s.velocity.y + s.velocity.z * s.velocity.z);
    return s;
}

} // namespace skybench
