// Body presets with real figures. Sources of the numbers: mean radii, masses and sidereal rotation
// periods as commonly tabulated; the axis of each body against the ecliptic of J2000 derived from
// its pole's right ascension and declination (the Moon's from the Cassini state: its pole lies
// 1.54 degrees from the ecliptic pole, opposite its orbit's pole, so theta equals its node).
#include "hostsim/hostsim.h"

#include "world.h"

namespace hostsim {

BodySpec bodyPreset(const std::string& name)
{
    BodySpec b;
    const std::string key = lowerCase(name);
    if (key == "earth") {
        b.name = "Earth";
        b.radius = 6.37101e6;
        b.mass = 5.973698968e24;
        b.obliquity = 0.4090928023; // 23.439 deg
        b.theta = 0.0; // the equinox is the ecliptic's origin
        b.siderealPeriod = 86164.10132;
        b.rotationOffset = 4.88948754; // Earth's rotation angle at the J2000 epoch (GMST 280.46 deg)
        b.pos = _V(AU, 0, 0);
        b.atmosphere = true;
        b.atm = ATMCONST {101.4e3, 1.225, 286.91, 1.4, 0.5, 21.2e3, 200e3, 6.57101e6, 110e3, {{0.29, 0.49, 0.75}}};
    } else if (key == "moon") {
        b.name = "Moon";
        b.radius = 1.73753e6;
        b.mass = 7.347664e22;
        b.obliquity = 0.0269199; // 1.5424 deg
        b.theta = 2.1824; // 125.04 deg, the node of its orbit
        b.siderealPeriod = 2360591.5;
        b.pos = _V(AU, 0, 3.844e8);
    } else if (key == "mars") {
        b.name = "Mars";
        b.radius = 3.38992e6;
        b.mass = 6.418542e23;
        b.obliquity = 0.4662; // 26.71 deg against the ecliptic
        b.theta = 4.5892; // 262.94 deg
        b.siderealPeriod = 88642.66;
        b.pos = _V(0, 0, 1.5237 * AU);
        b.atmosphere = true;
        b.atm = ATMCONST {610.0, 0.020, 188.92, 1.2941, 0.5, 0.0, 120e3, 3.50992e6, 50e3, {{0.78, 0.56, 0.40}}};
    }
    return b;
}

OBJHANDLE addBody(const BodySpec& spec)
{
    if (spec.name.empty() || !(spec.radius > 0))
        return nullptr;
    auto b = std::make_unique<Body>();
    b->name = spec.name;
    b->radius = spec.radius;
    b->mass = spec.mass;
    b->eps = spec.obliquity;
    b->theta = spec.theta;
    b->period = spec.siderealPeriod;
    b->rotOffset = spec.rotationOffset;
    b->pos = spec.pos;
    b->vel = spec.vel;
    b->hasAtm = spec.atmosphere;
    b->atm = spec.atm;
    if (b->hasAtm)
        b->atm.radlimit = b->atm.altlimit + b->radius;
    world().bodies.push_back(std::move(b));
    return world().bodies.back().get();
}

OBJHANDLE addSolarBodies()
{
    OBJHANDLE earth = addBody(bodyPreset("Earth"));
    addBody(bodyPreset("Moon"));
    addBody(bodyPreset("Mars"));
    return earth;
}

} // namespace hostsim
