#include "hostcalls.h"

// The table is a binary interface. Its host entries are the host's own functions, declared on the
// SDK's records (VECTOR3*, VESSEL*); the engine never sees the SDK and calls them through its
// layout-identical mirrors (HostVector*, void*). The calls agree at the machine level but not in
// their C++ types, so clang's type check of indirect calls (-fsanitize=function) is switched off for
// the calls through the table alone; the plug-in proves at compile time that the types of the
// entries the engine calls map onto these, slot by slot (plugin/RecordChecks.cpp).
#if defined(__clang__)
#define HOSTCALL __attribute__((no_sanitize("function")))
#else
#define HOSTCALL
#endif

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

HOSTCALL double hostgetsize(void* body)
{
    const auto fn = slotfn<HostGetSizeFn>(slotGetSize);
    return fn ? fn(body) : 0.0;
}

HOSTCALL double hosttimeacc()
{
    const auto fn = slotfn<HostGetTimeAccelerationFn>(slotGetTimeAcceleration);
    return fn ? fn() : 0.0;
}

HOSTCALL void hostfocusequpos(double* lng, double* lat)
{
    *lng = 0.0;
    *lat = 0.0;
    double rad = 0.0;
    if (const auto fn = slotfn<HostGetFocusEquPosFn>(slotGetFocusEquPos))
        fn(lng, lat, &rad);
}

HOSTCALL void* hostfocusobject()
{
    const auto fn = slotfn<HostGetFocusObjectFn>(slotGetFocusObject);
    return fn ? fn() : nullptr;
}

HOSTCALL void* hostvesselinterface(void* vessel)
{
    const auto fn = slotfn<HostGetVesselInterfaceFn>(slotGetVesselInterface);
    return fn ? fn(vessel) : nullptr;
}

HOSTCALL void hostglobalaxes(void* vessel, HostVector* ex, HostVector* ey, HostVector* ez)
{
    *ex = HostVector {0.0, 0.0, 0.0};
    *ey = *ex;
    *ez = *ex;
    if (const auto fn = slotfn<HostVesselGlobalAxesFn>(slotVesselGlobalAxes))
        fn(vessel, ex, ey, ez);
}

HOSTCALL double hostfocusairspeed()
{
    double speed = 0.0;
    if (const auto fn = slotfn<HostGetFocusAirspeedFn>(slotGetFocusAirspeed))
        fn(&speed);
    return speed;
}

HOSTCALL HostVector hostfocusairspeedvec()
{
    HostVector v {0.0, 0.0, 0.0};
    if (const auto fn = slotfn<HostGetFocusShipAirspeedVectorFn>(slotGetFocusShipAirspeedVector))
        fn(&v);
    return v;
}
