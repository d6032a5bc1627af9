#include "hostcalls.h"

namespace {

HostEntry hosttab[hostServiceSlots];

template <typename Fn> Fn slotfn(int slot)
{
    return reinterpret_cast<Fn>(hosttab[slot]);
}

} // namespace

void hostcopy(const HostServiceTable* table)
{
    for (int i = 0; i < hostServiceSlots; ++i)
        hosttab[i] = table ? table->entry[i] : nullptr;
}

HostEntry hostentry(int slot)
{
    if (slot < 0 || slot >= hostServiceSlots)
        return nullptr;
    return hosttab[slot];
}

double hostgetsize(void* body)
{
    const auto fn = slotfn<HostGetSizeFn>(slotGetSize);
    return fn ? fn(body) : 0.0;
}

double hosttimeacc()
{
    const auto fn = slotfn<HostGetTimeAccelerationFn>(slotGetTimeAcceleration);
    return fn ? fn() : 0.0;
}

void hostfocusequpos(double* lng, double* lat)
{
    *lng = 0.0;
    *lat = 0.0;
    double rad = 0.0;
    if (const auto fn = slotfn<HostGetFocusEquPosFn>(slotGetFocusEquPos))
        fn(lng, lat, &rad);
}

void* hostfocusobject()
{
    const auto fn = slotfn<HostGetFocusObjectFn>(slotGetFocusObject);
    return fn ? fn() : nullptr;
}

void* hostvesselinterface(void* vessel)
{
    const auto fn = slotfn<HostGetVesselInterfaceFn>(slotGetVesselInterface);
    return fn ? fn(vessel) : nullptr;
}

void hostglobalaxes(void* vessel, HostVector* ex, HostVector* ey, HostVector* ez)
{
    *ex = HostVector {0.0, 0.0, 0.0};
    *ey = *ex;
    *ez = *ex;
    if (const auto fn = slotfn<HostVesselGlobalAxesFn>(slotVesselGlobalAxes))
        fn(vessel, ex, ey, ez);
}

double hostfocusairspeed()
{
    double speed = 0.0;
    if (const auto fn = slotfn<HostGetFocusAirspeedFn>(slotGetFocusAirspeed))
        fn(&speed);
    return speed;
}

HostVector hostfocusairspeedvec()
{
    HostVector v {0.0, 0.0, 0.0};
    if (const auto fn = slotfn<HostGetFocusShipAirspeedVectorFn>(slotGetFocusShipAirspeedVector))
        fn(&v);
    return v;
}
