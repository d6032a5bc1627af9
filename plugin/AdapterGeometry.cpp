// Adapters over the vessel's frame: body axes, global axes, point transforms.
#include "Adapters.h"

#include "EquToGlobal.h"

namespace {

// A global direction as a direction in the vessel's frame: transform the point one unit along it from
// the vessel's position.
VECTOR3 localDirection(const VESSEL* vessel, const VECTOR3& pos, const VECTOR3& dir)
{
    VECTOR3 local;
    vessel->Global2Local(pos + dir, local);
    return local;
}

} // namespace

void vesselBodyAxes(VESSEL* vessel, VECTOR3* x, VECTOR3* z, VECTOR3* y)
{
    VECTOR3 pos;
    vessel->GetGlobalPos(pos);
    const VECTOR3 axisZ = equToGlobal(vessel, 0.0, rightAngle, 1.0);
    const VECTOR3 axisX = equToGlobal(vessel, 0.0, 0.0, 1.0);
    const VECTOR3 axisY = equToGlobal(vessel, rightAngle, 0.0, 1.0);
    *x = localDirection(vessel, pos, axisX);
    *z = localDirection(vessel, pos, axisZ);
    *y = localDirection(vessel, pos, axisY);
}

void vesselGlobalAxes(VESSEL* vessel, VECTOR3* ex, VECTOR3* ey, VECTOR3* ez)
{
    VECTOR3 pos;
    vessel->GetGlobalPos(pos);
    *ex = localDirection(vessel, pos, _V(1, 0, 0));
    *ey = localDirection(vessel, pos, _V(0, 1, 0));
    *ez = localDirection(vessel, pos, _V(0, 0, 1));
}

VECTOR3 vesselGlobal2Local(VESSEL* vessel, VECTOR3 global)
{
    VECTOR3 local;
    vessel->Global2Local(global, local);
    return local;
}

VECTOR3 vesselLocal2Global(VESSEL* vessel, VECTOR3 local)
{
    VECTOR3 global;
    vessel->Local2Global(local, global);
    return global;
}
