// The probe engine: records what initint and maincall receive, answers as told.
#include "probeengine.h"

#include "Orbitersdk.h"

#include <cstring>

#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

ProbeLog probe {};

// The entries' own types: the probe sees the SDK, so its calls need no mirrors.
typedef VESSEL* (*VesselInterfaceFn)(OBJHANDLE);
typedef OBJHANDLE (*VesselSurfaceRefFn)(VESSEL*);
typedef BOOL (*EquPosFn)(OBJHANDLE, double*, double*, double*);
typedef void (*RotationMatrixFn)(OBJHANDLE, MATRIX3*);

template <typename Fn> Fn slot(int index)
{
    return reinterpret_cast<Fn>(probe.table.entry[index]);
}

[[maybe_unused]] void record(const FrameRecord* frame)
{
    if (probe.calls >= probeMaxCalls)
        return;
    ProbeCall& c = probe.call[probe.calls];
    c.groupsFetched = frame->groupsFetched;
    c.body = frame->body;
    c.cameraRel = frame->cameraRel;
    c.bodyPos = frame->bodyPos;
    c.bodyAxisX = frame->bodyAxisX;
    c.bodyAxisZ = frame->bodyAxisZ;
    c.bodyAxisY = frame->bodyAxisY;
    std::memcpy(c.bodyName, frame->bodyName, sizeof c.bodyName);
    c.group0 = frame->groups[0];
    c.group1023 = frame->groups[frameGroupCount - 1];
    c.material = frame->material;
    c.alphaModPtr = frame->alphaModPtr;
    // Where the carrier stands while the engine runs, asked the way the engine would ask.
    VESSEL* carrier = slot<VesselInterfaceFn>(slotGetVesselInterface)(frame->carrier);
    c.carrierBody = carrier ? slot<VesselSurfaceRefFn>(slotVesselGetSurfaceRef)(carrier) : nullptr;
    MATRIX3 rot;
    slot<RotationMatrixFn>(slotGetRotationMatrix)(frame->body, &rot);
    std::memcpy(c.bodyRot, rot.data, sizeof c.bodyRot);
    double radius = 0.0;
    slot<EquPosFn>(slotGetEquPos)(frame->carrier, &c.carrierLng, &c.carrierLat, &radius);
}

} // namespace

#ifndef PROBE_WITHOUT_INITINT
PROBE_EXPORT void initint(const HostServiceTable* table)
{
    if (probe.initCalls++ == 0 && table) {
        probe.tableAddress = table;
        probe.table = *table;
    }
}
#endif

#ifndef PROBE_WITHOUT_MAINCALL
PROBE_EXPORT std::int32_t maincall(FrameRecord* frame)
{
    record(frame);
    ++probe.calls;
    if (frame->alphaModPtr)
        *frame->alphaModPtr = probe.alpha;
    const std::int32_t result = probe.result;
    probe.result = 0;
    return result;
}
#endif

PROBE_EXPORT ProbeLog* probeLog()
{
    return &probe;
}
