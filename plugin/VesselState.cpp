// The state record as the plug-in reads it: version 2, no lists, so the host allocates nothing for us.
#include "VesselState.h"

#include <cstring>

VESSELSTATUS2 blankStatus2()
{
    VESSELSTATUS2 status;
    std::memset(&status, 0, sizeof status);
    status.version = 2;
    return status;
}

VESSELSTATUS2 readStatus2(const VESSEL* vessel)
{
    VESSELSTATUS2 status = blankStatus2();
    vessel->GetStatusEx(&status);
    return status;
}

void landUnderFocus(VESSELSTATUS2& status, const VESSEL* focus)
{
    status.status = 1;
    status.rbody = focus->GetSurfaceRef();
    double radius = 0.0;
    oapiGetEquPos(focus->GetHandle(), &status.surf_lng, &status.surf_lat, &radius);
    status.surf_hdg = 0.0;
}
