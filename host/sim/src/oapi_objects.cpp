// oapi functions on objects: lookup, enumeration, focus, vessel creation and deletion.
#include "lifecycle.h"

#include <cstring>

using namespace hostsim;

namespace {

// The object at index of a world list (raw or owning pointers), or null when index is out of range.
template <typename List> OBJHANDLE objectAt(const List& objects, int index)
{
    if (index < 0 || std::size_t(index) >= objects.size())
        return nullptr;
    return &*objects[std::size_t(index)];
}

} // namespace

OAPIFUNC int oapiGetOrbiterVersion()
{
    HOSTSIM_COUNT("oapiGetOrbiterVersion");
    return world().orbiterVersion;
}

OAPIFUNC OBJHANDLE oapiGetObjectByName(char* name)
{
    HOSTSIM_COUNT("oapiGetObjectByName");
    if (Body* b = bodyByName(name))
        return b;
    return vesselByName(name);
}

// Objects are the bodies first, then the vessels.
OAPIFUNC OBJHANDLE oapiGetObjectByIndex(int index)
{
    HOSTSIM_COUNT("oapiGetObjectByIndex");
    const World& w = world();
    const int bodies = int(w.bodies.size());
    return index < bodies ? objectAt(w.bodies, index) : objectAt(w.vessels, index - bodies);
}

OAPIFUNC DWORD oapiGetObjectCount()
{
    HOSTSIM_COUNT("oapiGetObjectCount");
    return DWORD(world().bodies.size() + world().vessels.size());
}

OAPIFUNC int oapiGetObjectType(OBJHANDLE hObj)
{
    HOSTSIM_COUNT("oapiGetObjectType");
    if (findBody(hObj))
        return OBJTP_PLANET;
    if (findVessel(hObj))
        return OBJTP_VESSEL;
    return OBJTP_INVALID;
}

OAPIFUNC OBJHANDLE oapiGetVesselByName(char* name)
{
    HOSTSIM_COUNT("oapiGetVesselByName");
    return vesselByName(name);
}

OAPIFUNC OBJHANDLE oapiGetVesselByIndex(int index)
{
    HOSTSIM_COUNT("oapiGetVesselByIndex");
    return objectAt(world().vessels, index);
}

OAPIFUNC DWORD oapiGetVesselCount()
{
    HOSTSIM_COUNT("oapiGetVesselCount");
    return DWORD(world().vessels.size());
}

OAPIFUNC bool oapiIsVessel(OBJHANDLE hVessel)
{
    HOSTSIM_COUNT("oapiIsVessel");
    return findVessel(hVessel) != nullptr;
}

OAPIFUNC OBJHANDLE oapiGetGbodyByName(char* name)
{
    HOSTSIM_COUNT("oapiGetGbodyByName");
    return bodyByName(name);
}

OAPIFUNC OBJHANDLE oapiGetGbodyByIndex(int index)
{
    HOSTSIM_COUNT("oapiGetGbodyByIndex");
    return objectAt(world().bodies, index);
}

OAPIFUNC DWORD oapiGetGbodyCount()
{
    HOSTSIM_COUNT("oapiGetGbodyCount");
    return DWORD(world().bodies.size());
}

// The stand-in's bodies have no surface bases.
OAPIFUNC OBJHANDLE oapiGetBaseByIndex(OBJHANDLE hPlanet, int index)
{
    HOSTSIM_COUNT("oapiGetBaseByIndex");
    (void)hPlanet, (void)index;
    return nullptr;
}

OAPIFUNC DWORD oapiGetBaseCount(OBJHANDLE hPlanet)
{
    HOSTSIM_COUNT("oapiGetBaseCount");
    (void)hPlanet;
    return 0;
}

OAPIFUNC void oapiGetObjectName(OBJHANDLE hObj, char* name, int n)
{
    HOSTSIM_COUNT("oapiGetObjectName");
    if (!name || n <= 0)
        return;
    const char* src = nullptr;
    if (Body* b = findBody(hObj))
        src = b->name.c_str();
    else if (Vessel* v = findVessel(hObj))
        src = v->name.c_str();
    if (!src)
        return;
    // strncpy semantics, as the host: no terminator when the name fills the buffer.
    std::strncpy(name, src, std::size_t(n));
}

OAPIFUNC OBJHANDLE oapiGetFocusObject()
{
    HOSTSIM_COUNT("oapiGetFocusObject");
    return world().focus;
}

OAPIFUNC OBJHANDLE oapiSetFocusObject(OBJHANDLE hVessel)
{
    HOSTSIM_COUNT("oapiSetFocusObject");
    Vessel* to = findVessel(hVessel);
    Vessel* from = world().focus;
    if (!to || !changeFocus(to))
        return nullptr;
    return from;
}

OAPIFUNC VESSEL* oapiGetVesselInterface(OBJHANDLE hVessel)
{
    HOSTSIM_COUNT("oapiGetVesselInterface");
    Vessel* v = findVessel(hVessel);
    return v ? v->iface : nullptr;
}

OAPIFUNC VESSEL* oapiGetFocusInterface()
{
    HOSTSIM_COUNT("oapiGetFocusInterface");
    return world().focus ? world().focus->iface : nullptr;
}

OAPIFUNC OBJHANDLE oapiCreateVessel(const char* name, const char* classname, const VESSELSTATUS& status)
{
    HOSTSIM_COUNT("oapiCreateVessel");
    return createVessel(name, classname, false, nullptr, &status);
}

OAPIFUNC OBJHANDLE oapiCreateVesselEx(const char* name, const char* classname, const void* status)
{
    HOSTSIM_COUNT("oapiCreateVesselEx");
    const auto* st = static_cast<const VESSELSTATUS2*>(status);
    if (!st || st->version != 2) {
        reportError("oapiCreateVesselEx: status is not a VESSELSTATUS2 of version 2");
        return nullptr;
    }
    return createVessel(name, classname, false, st, nullptr, true);
}

OAPIFUNC bool oapiDeleteVessel(OBJHANDLE hVessel, OBJHANDLE hAlternativeCameraTarget)
{
    HOSTSIM_COUNT("oapiDeleteVessel");
    Vessel* v = findVessel(hVessel);
    if (!v)
        return false;
    requestDelete(v, hAlternativeCameraTarget);
    return true;
}
