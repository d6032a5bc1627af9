// Colours from the stand-in's value noise (hostsim's, which its terrain rises from), sampled on the unit
// sphere: the pattern has no seams or pole artefacts, and needs no texture.
#include "surface.h"

#include <hostsim/hostsim.h>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace skysim {

namespace {

void copy(const float a[3], float out[3])
{
    out[0] = a[0];
    out[1] = a[1];
    out[2] = a[2];
}

void mix(const float a[3], const float b[3], double t, float out[3])
{
    t = std::clamp(t, 0.0, 1.0);
    for (int i = 0; i < 3; ++i)
        out[i] = float(a[i] + (b[i] - a[i]) * t);
}

VECTOR3 scaled(const VECTOR3& d, double k, double shift)
{
    return hostsim::noiseCoordinates(d, k, shift);
}

// The Earth's land is where the stand-in's terrain rises.
using hostsim::earthSeaLevel;

void earthColour(const VECTOR3& d, float rgb[3])
{
    static const float deep[3] = {0.03f, 0.10f, 0.32f}, shallow[3] = {0.08f, 0.28f, 0.52f};
    static const float green[3] = {0.20f, 0.40f, 0.12f}, dry[3] = {0.62f, 0.52f, 0.33f};
    static const float rock[3] = {0.42f, 0.36f, 0.30f}, ice[3] = {0.90f, 0.92f, 0.95f};
    const double h = hostsim::earthRelief(d);
    const double pole = std::fabs(d.y) + 0.08 * (fractalNoise(scaled(d, 6.0, 3.1), 4) - 0.5);
    if (pole > 0.93) {
        copy(ice, rgb);
    } else if (h < earthSeaLevel) {
        mix(shallow, deep, (earthSeaLevel - h) / 0.06, rgb);
    } else {
        const double moist = fractalNoise(scaled(d, 3.0, 27.7), 8);
        float ground[3];
        mix(dry, green, (moist - 0.38) / 0.2, ground);
        mix(ground, rock, (h - earthSeaLevel - 0.07) / 0.08, rgb);
        // Fields and ridges a few kilometres across, so low flight shows ground rather than a wash.
        const double relief = 0.8 + 0.4 * fractalNoise(scaled(d, 300.0, 4.4), 4);
        for (int i = 0; i < 3; ++i)
            rgb[i] = float(std::min(1.0, rgb[i] * relief));
    }
}

void moonColour(const VECTOR3& d, float rgb[3])
{
    const double mare = fractalNoise(scaled(d, 2.2, 5.9), 5);
    const double grain = fractalNoise(scaled(d, 24.0, 1.7), 7);
    const double g = (mare < 0.45 ? 0.24 : 0.40) + 0.22 * (grain - 0.5);
    rgb[0] = float(g);
    rgb[1] = float(g * 0.98);
    rgb[2] = float(g * 0.95);
}

void marsColour(const VECTOR3& d, float rgb[3])
{
    static const float rust[3] = {0.66f, 0.32f, 0.16f}, dark[3] = {0.32f, 0.18f, 0.11f};
    static const float cap[3] = {0.88f, 0.86f, 0.84f};
    const double tone = fractalNoise(scaled(d, 2.0, 8.2), 9);
    if (std::fabs(d.y) > 0.95) {
        copy(cap, rgb);
        return;
    }
    mix(rust, dark, (0.47 - tone) / 0.1, rgb);
}

void greyColour(const VECTOR3& d, float rgb[3])
{
    const double g = 0.3 + 0.3 * fractalNoise(scaled(d, 4.0, 2.5), 8);
    rgb[0] = rgb[1] = rgb[2] = float(g);
}

} // namespace

double fractalNoise(const VECTOR3& p, int octaves)
{
    return hostsim::fractalNoise(p, octaves);
}

void surfaceColour(const std::string& body, const VECTOR3& dirBody, float rgb[3])
{
    const double len = std::sqrt(dirBody.x * dirBody.x + dirBody.y * dirBody.y + dirBody.z * dirBody.z);
    const VECTOR3 d = len > 0 ? _V(dirBody.x / len, dirBody.y / len, dirBody.z / len) : _V(0, 1, 0);
    std::string n;
    for (char ch : body)
        n += char(std::tolower(static_cast<unsigned char>(ch)));
    if (n == "earth")
        earthColour(d, rgb);
    else if (n == "moon")
        moonColour(d, rgb);
    else if (n == "mars")
        marsColour(d, rgb);
    else
        greyColour(d, rgb);
}

} // namespace skysim
