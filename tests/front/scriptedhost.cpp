#include "scriptedhost.h"

#include <algorithm>
#include <cstring>
#include <utility>

hostscript script;

namespace {

double getsize(void* body)
{
    ++script.calls[slotGetSize];
    script.sizebody = body;
    return script.size;
}
double timeacc()
{
    ++script.calls[slotGetTimeAcceleration];
    return script.timeacc;
}
std::int32_t focusequpos(double* lng, double* lat, double* rad)
{
    ++script.calls[slotGetFocusEquPos];
    *lng = script.lng;
    *lat = script.lat;
    *rad = script.size;
    return 1;
}
void* focusobject()
{
    ++script.calls[slotGetFocusObject];
    return script.focus;
}
void* vesselinterface(void* vessel)
{
    ++script.calls[slotGetVesselInterface];
    script.interfacearg = vessel;
    return script.vesselif;
}
void globalaxes(void* vessel, HostVector* ex, HostVector* ey, HostVector* ez)
{
    ++script.calls[slotVesselGlobalAxes];
    script.axesvessel = vessel;
    *ex = script.axes[0];
    *ey = script.axes[1];
    *ez = script.axes[2];
}
std::int32_t focusairspeed(double* v)
{
    ++script.calls[slotGetFocusAirspeed];
    *v = script.airspeed;
    return 1;
}
std::int32_t focusairvec(HostVector* v)
{
    ++script.calls[slotGetFocusShipAirspeedVector];
    *v = script.airvec;
    return 1;
}

template <int N> void recorder()
{
    ++script.calls[N];
}

template <std::size_t... N> void fillrecorders(HostServiceTable& t, std::index_sequence<N...>)
{
    ((t.entry[N] = &recorder<static_cast<int>(N)>), ...);
}

template <typename Fn> HostEntry entryof(Fn fn)
{
    return reinterpret_cast<HostEntry>(fn);
}

} // namespace

bool engineslot(int slot)
{
    return slot == 1 || slot == 8 || slot == 10 || slot == 24 || slot == 35 || slot == 63 || slot == 104 || slot == 105;
}

HostServiceTable recordingtable()
{
    HostServiceTable t {};
    fillrecorders(t, std::make_index_sequence<hostServiceSlots> {});
    t.entry[slotGetSize] = entryof(&getsize);
    t.entry[slotGetTimeAcceleration] = entryof(&timeacc);
    t.entry[slotGetFocusEquPos] = entryof(&focusequpos);
    t.entry[slotGetFocusObject] = entryof(&focusobject);
    t.entry[slotGetVesselInterface] = entryof(&vesselinterface);
    t.entry[slotVesselGlobalAxes] = entryof(&globalaxes);
    t.entry[slotGetFocusAirspeed] = entryof(&focusairspeed);
    t.entry[slotGetFocusShipAirspeedVector] = entryof(&focusairvec);
    return t;
}

carrierkit::carrierkit()
    : groups(frameGroupCount)
{
    for (HostMeshGroup& g : groups) {
        g = HostMeshGroup {};
        g.MtrlIdx = markmtrl;
        g.TexIdx = marktex;
        g.zBias = markzbias;
        g.Flags = markflags;
    }
    const HostColour c {markcolour, markcolour, markcolour, markcolour};
    material = HostMaterial {c, c, c, c, markpower};
    for (int i = 0; i < frameGroupCount; ++i)
        frame.groups[i] = &groups[static_cast<std::size_t>(i)];
    frame.material = &material;
    frame.bodyAxisX = HostVector {1, 0, 0};
    frame.bodyAxisZ = HostVector {0, 0, 1};
    frame.bodyAxisY = HostVector {0, 1, 0};
    frame.body = reinterpret_cast<void*>(0x3000);
    frame.carrier = reinterpret_cast<void*>(0x4000);
    frame.alphaModPtr = &alpha;
    frame.groupsFetched = 1;
}

void carrierkit::name(const char* text)
{
    std::memset(frame.bodyName, 0, sizeof frame.bodyName);
    std::memcpy(frame.bodyName, text, std::min(std::strlen(text), sizeof frame.bodyName));
}

void carrierkit::camera(double x, double y, double z)
{
    frame.cameraRel = HostVector {x, y, z};
}

int carrierkit::blockgroups() const
{
    int n = 0;
    for (const HostMeshGroup& g : groups)
        n += g.nVtx == 81 ? 1 : 0;
    return n;
}
