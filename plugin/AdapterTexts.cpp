// Adapters that take or give names: the debug line, vessel creation by name, the class name.
#include "Adapters.h"

#include "VesselState.h"

#include <cstring>

void debugText(const char* text)
{
    char* line = oapiDebugString();
    if (!line)
        return;
    // Plain text, never a format: a '%' in the text is shown as it is.
    std::strncpy(line, text ? text : "", debugLineSize - 1);
    line[debugLineSize - 1] = '\0';
}

namespace {

// The host takes names as non-const text but does not change them.
bool vesselNamed(const char* name)
{
    return oapiGetVesselByName(const_cast<char*>(name)) != nullptr;
}

OBJHANDLE bodyNamed(const char* body)
{
    return oapiGetGbodyByName(const_cast<char*>(body));
}

int create(const char* name, const char* classname, const VESSELSTATUS2& status)
{
    return oapiCreateVesselEx(name, classname, &status) ? 1 : 0;
}

} // namespace

int vesselCreateFree(
    const char* name, const char* classname, const char* body, VECTOR3 rpos, VECTOR3 rvel, VECTOR3 arot, VECTOR3 vrot)
{
    if (vesselNamed(name))
        return 0;
    VESSELSTATUS2 status = blankStatus2();
    status.rbody = bodyNamed(body);
    status.rpos = rpos;
    status.rvel = rvel;
    status.arot = arot;
    status.vrot = vrot;
    return create(name, classname, status);
}

int vesselCreateLanded(
    const char* name, const char* classname, const char* body, double latitude, double longitude, double heading)
{
    if (vesselNamed(name))
        return 0;
    VESSELSTATUS2 status = blankStatus2();
    status.status = 1;
    status.rbody = bodyNamed(body);
    status.surf_lat = latitude;
    status.surf_lng = longitude;
    status.surf_hdg = heading;
    return create(name, classname, status);
}

void vesselGetClassName(VESSEL* vessel, char* buffer)
{
    std::memset(buffer, 0, classNameBufferSize);
    if (const char* name = vessel->GetClassName())
        std::strncpy(buffer, name, classNameBufferSize - 2);
}
