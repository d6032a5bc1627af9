// Adapters over the vessel's state records: status, arot and vrot, the four shifts, old-style values.
#include "Adapters.h"

#include "VesselState.h"

#include <cstring>

namespace {

// Adds the delta to one vector of the state record and writes the record back, but only for a delta
// that moves something.
void shift(VESSEL* vessel, VECTOR3 VESSELSTATUS2::*field, double dx, double dy, double dz)
{
    VESSELSTATUS2 status = readStatus2(vessel);
    VECTOR3& v = status.*field;
    v.x += dx;
    v.y += dy;
    v.z += dz;
    if (dx != 0.0 || dy != 0.0 || dz != 0.0)
        vessel->DefSetStateEx(&status);
}

} // namespace

void vesselSetStatus(VESSEL* vessel, int status)
{
    VESSELSTATUS2 record = readStatus2(vessel);
    record.status = status;
    vessel->DefSetStateEx(&record);
}

int vesselGetStatusCode(VESSEL* vessel)
{
    return readStatus2(vessel).status;
}

VECTOR3 vesselGetArot(VESSEL* vessel)
{
    return readStatus2(vessel).arot;
}

VECTOR3 vesselGetVrot(VESSEL* vessel)
{
    return readStatus2(vessel).vrot;
}

void vesselShiftPos(VESSEL* vessel, double dx, double dy, double dz)
{
    shift(vessel, &VESSELSTATUS2::rpos, dx, dy, dz);
}

void vesselShiftArot(VESSEL* vessel, double dx, double dy, double dz)
{
    shift(vessel, &VESSELSTATUS2::arot, dx, dy, dz);
}

void vesselShiftVel(VESSEL* vessel, double dx, double dy, double dz)
{
    shift(vessel, &VESSELSTATUS2::rvel, dx, dy, dz);
}

void vesselShiftVrot(VESSEL* vessel, double dx, double dy, double dz)
{
    shift(vessel, &VESSELSTATUS2::vrot, dx, dy, dz);
}

double vesselGetStatusValue(VESSEL* vessel, int i)
{
    // Only the nine values from vrot to eng_hovr are offered; any other index would read past them.
    if (i < 0 || i > 8)
        return 0.0;
    VESSELSTATUS status;
    std::memset(&status, 0, sizeof status);
    vessel->GetStatus(status);
    const double values[9] = {status.vrot.x, status.vrot.y, status.vrot.z, status.arot.x, status.arot.y, status.arot.z,
        status.fuel, status.eng_main, status.eng_hovr};
    return values[i];
}
