#include "generation.h"

#include "world.h"

namespace hostsim {

namespace {

// Field order: name, touchdownPlaneOnGround, extendedLandedRecords, terrain, landedStatusRoundTrip,
// savesLandedArot, visualInsideCreate, graphicsClientBuild.
const Generation edition2006 = {"2006", false, false, false, true, false, false, false};
// Nothing of the 2010 core is known: it gets the later touchdown placement without the extended path
// (no record places a vessel upright at a chosen height), none of the later additions, and the status
// report of the 2016 release, whose fix came later still.
const Generation edition2010 = {"2010", true, false, false, false, false, false, true};
const Generation edition2016 = {"2016", true, true, true, false, true, true, true};
const Generation edition2024 = {"2024", true, true, true, true, true, true, true};

} // namespace

const Generation& generationOf(int version)
{
    if (version < 100000)
        return edition2006;
    if (version < 160000)
        return edition2010;
    if (version < 170000)
        return edition2016;
    return edition2024;
}

const Generation& generation()
{
    return generationOf(world().orbiterVersion);
}

bool graphicsClientActive()
{
    return world().graphicsClient && generation().graphicsClientBuild;
}

bool setGraphicsClient(bool on)
{
    if (!generation().graphicsClientBuild)
        return false;
    world().graphicsClient = on;
    return true;
}

} // namespace hostsim
