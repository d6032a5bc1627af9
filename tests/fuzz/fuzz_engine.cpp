// Fuzz target: veilcore's two entry points driven as a hostile host would. The input chooses the
// host's answers (radii of 0, below 0, NaN, infinite or 1e300; NaN and infinite positions and
// vectors; null slots; no focus vessel) and then a sequence of maincall records (names without NUL,
// 256-byte names, changing letter case, NaN, infinite and huge cameras, groupsFetched 0, 1 or other)
// against real 1024-group sets. After each call every index and vertex of the groups the host would
// draw is read as its drawing reads them. The table checks every call it gets: only the eight engine
// slots are called, a body handle is the record's, and no null handle or interface is passed on.
#include "frontstate.h"
#include "timers.h"
#include "veilcore.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// The input as a stream of choices; once it is used up every choice is 0.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : p(data)
        , end(data + size)
    {
    }
    std::uint8_t byte() { return p < end ? *p++ : 0; }
    bool more() const { return p < end; }

    // A double that is often one of the values hosts get wrong.
    double real(double typical)
    {
        static const double odd[] = {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
            std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), 1e300, -1e300, 1e-300};
        const std::uint8_t k = byte();
        if (k < 160)
            return typical * (0.25 + k / 64.0);
        if (k < 160 + 8 * 8)
            return odd[(k - 160) % 8];
        double d = 0;
        for (std::size_t i = 0; i < sizeof d; ++i)
            reinterpret_cast<std::uint8_t*>(&d)[i] = byte();
        return d;
    }
    HostVector vector(double typical) { return HostVector {real(typical), real(typical), real(typical)}; }

private:
    const std::uint8_t* p;
    const std::uint8_t* end;
};

// The host as this input has it answer.
struct Host {
    double size = 6371000.0, timeacc = 1.0, lng = 0.0, lat = 0.0, airspeed = 0.0;
    void* focus = reinterpret_cast<void*>(0x1000);
    void* vesselif = reinterpret_cast<void*>(0x2000);
    HostVector axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    HostVector airvec = {0, 0, 0};
    void* body = nullptr; // the body the current record names
} host;

void check(bool ok)
{
    if (!ok)
        std::abort();
}

double getsize(void* body)
{
    check(body == host.body);
    return host.size;
}
double timeacc()
{
    return host.timeacc;
}
std::int32_t focusequpos(double* lng, double* lat, double* rad)
{
    *lng = host.lng;
    *lat = host.lat;
    *rad = host.size;
    return 1;
}
void* focusobject()
{
    return host.focus;
}
void* vesselinterface(void* vessel)
{
    check(vessel && vessel == host.focus);
    return host.vesselif;
}
void globalaxes(void* vessel, HostVector* ex, HostVector* ey, HostVector* ez)
{
    check(vessel && vessel == host.vesselif && ex && ey && ez);
    *ex = host.axes[0];
    *ey = host.axes[1];
    *ez = host.axes[2];
}
std::int32_t focusairspeed(double* speed)
{
    *speed = host.airspeed;
    return 1;
}
std::int32_t focusairvec(HostVector* v)
{
    *v = host.airvec;
    return 1;
}
// Every other slot, reserved ones included: the engine must never call them.
void forbidden()
{
    std::abort();
}

template <typename Fn> HostEntry entry(Fn* fn)
{
    return reinterpret_cast<HostEntry>(fn);
}

// The table, with the slots that the input's mask names left null.
HostServiceTable table(std::uint8_t nullmask)
{
    HostServiceTable t {};
    for (HostEntry& e : t.entry)
        e = &forbidden;
    const struct {
        int slot;
        HostEntry fn;
    } served[] = {{slotGetSize, entry(&getsize)}, {slotGetTimeAcceleration, entry(&timeacc)},
        {slotGetFocusEquPos, entry(&focusequpos)}, {slotGetFocusObject, entry(&focusobject)},
        {slotGetVesselInterface, entry(&vesselinterface)}, {slotVesselGlobalAxes, entry(&globalaxes)},
        {slotGetFocusAirspeed, entry(&focusairspeed)}, {slotGetFocusShipAirspeedVector, entry(&focusairvec)}};
    for (int i = 0; i < 8; ++i)
        t.entry[served[i].slot] = (nullmask >> i & 1) ? nullptr : served[i].fn;
    return t;
}

// One carrier visual's mesh as the host loaded it: 1024 groups of one small triangle and a material.
struct MeshSet {
    std::vector<HostVertex> vertices = std::vector<HostVertex>(3, HostVertex {});
    std::vector<std::uint16_t> indices = {0, 1, 2};
    std::vector<HostMeshGroup> groups = std::vector<HostMeshGroup>(frameGroupCount);
    HostMaterial material {};
    MeshSet()
    {
        for (HostMeshGroup& g : groups)
            g = HostMeshGroup {vertices.data(), indices.data(), 3, 3, 0, 0, 0, 0, 0};
    }
};

// Reads every group as the host's drawing does: each index within the group's vertex count, each
// vertex it names read in full. The engine only ever leaves placeholders and 81-vertex blocks.
void drawlikethehost(const MeshSet& mesh)
{
    volatile float sink = 0;
    for (const HostMeshGroup& g : mesh.groups) {
        check((g.nVtx == 3 && g.nIdx == 3) || (g.nVtx == 81 && g.nIdx == 384));
        check(g.Vtx && g.Idx);
        for (std::uint32_t i = 0; i < g.nIdx; ++i) {
            check(g.Idx[i] < g.nVtx);
            const HostVertex& v = g.Vtx[g.Idx[i]];
            sink = sink + v.x + v.y + v.z + v.nx + v.ny + v.nz + v.tu + v.tv;
        }
    }
    sink = sink + mesh.material.diffuse.a + mesh.material.ambient.a + mesh.material.power;
}

void name(FrameRecord* frame, Input& in)
{
    static const char* const names[] = {"Earth", "EARTH", "earth", "eArTh", "Moon", "MOON", "Mars", ""};
    const std::uint8_t k = in.byte();
    std::memset(frame->bodyName, 0, sizeof frame->bodyName);
    if (k < 200) {
        std::strcpy(frame->bodyName, names[k % 8]);
    } else if (k < 230) {
        // All 256 bytes used, no NUL anywhere.
        const std::uint8_t fill = in.byte();
        std::memset(frame->bodyName, fill ? fill : 'a', sizeof frame->bodyName);
    } else {
        for (char& c : frame->bodyName)
            c = static_cast<char>(in.byte());
    }
    // A made-up handle the fake host recognises; it is only ever compared, never followed.
    frame->body = reinterpret_cast<void*>(0x3000 + (k % 8)); // NOLINT(performance-no-int-to-ptr)
}

// The host's answers; the first reading sets them all, later ones change some.
void answers(Input& in)
{
    const std::uint8_t which = in.byte();
    if (which & 1)
        host.size = in.real(6371000.0);
    if (which & 2) {
        host.lng = in.real(1.0);
        host.lat = in.real(0.5);
    }
    if (which & 4) {
        const std::uint8_t k = in.byte();
        host.focus = k & 1 ? nullptr : reinterpret_cast<void*>(0x1000);
        host.vesselif = k & 2 ? nullptr : reinterpret_cast<void*>(0x2000);
    }
    if (which & 8)
        for (HostVector& a : host.axes)
            a = in.vector(1.0);
    if (which & 16) {
        host.airspeed = in.real(200.0);
        host.airvec = in.vector(100.0);
    }
    if (which & 32)
        host.timeacc = in.real(10.0);
}

std::int64_t clockticks = 0;
std::int64_t clockstep = 1;
std::int64_t fastclock()
{
    return clockticks += clockstep;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    host = Host {};
    // The refinement's budgets and warm-up burst end after a bounded number of clock readings.
    clockstep = 10 << (in.byte() % 8);
    timersetsource(fastclock, 1000000);
    answers(in);
    const HostServiceTable t = table(in.byte() < 200 ? 0 : in.byte());
    initint(&t);

    MeshSet meshes[2];
    bool delivered[2] = {false, false};
    int drawn = -1; // the set whose groups the engine was last handed
    std::int32_t alpha = 0;
    FrameRecord frame {};
    frame.alphaModPtr = &alpha;
    for (int call = 0; call < 64 && in.more(); ++call) {
        const std::uint8_t op = in.byte();
        if (op & 1)
            name(&frame, in);
        host.body = frame.body;
        if (op & 2)
            frame.cameraRel = HostVector {in.real(6000000.0), in.real(3000000.0), in.real(3000000.0)};
        if (op & 4) {
            frame.bodyAxisX = in.vector(1.0);
            frame.bodyAxisZ = in.vector(1.0);
            frame.bodyAxisY = in.vector(1.0);
        } else if (call == 0) {
            frame.bodyAxisX = HostVector {1, 0, 0};
            frame.bodyAxisZ = HostVector {0, 0, 1};
            frame.bodyAxisY = HostVector {0, 1, 0};
        }
        if (op & 8)
            answers(in);
        // groupsFetched: 1 hands over a set (a new visual may bring the other one), 0 or anything else
        // must leave the engine on what it has; the record's pointers then lead nowhere.
        const std::uint8_t fetch = in.byte();
        frame.groupsFetched = fetch < 128 ? 1 : fetch < 220 ? 0 : static_cast<std::int32_t>(fetch * 0x01010101u);
        if (frame.groupsFetched == 1) {
            drawn = fetch & 1;
            delivered[drawn] = true;
            for (int i = 0; i < frameGroupCount; ++i)
                frame.groups[i] = &meshes[drawn].groups[static_cast<std::size_t>(i)];
            frame.material = &meshes[drawn].material;
        } else {
            std::memset(frame.groups, 0, sizeof frame.groups);
            frame.material = nullptr;
        }
        frame.alphaModPtr = op & 16 ? nullptr : &alpha;

        const std::int32_t result = maincall(&frame);
        check(result == 0 || result == 1);
        check(alpha == 0 || alpha == 1);
        // The host draws the visual it has now; a set never handed over is as the host loaded it.
        if (drawn >= 0)
            drawlikethehost(meshes[drawn]);
        for (int k = 0; k < 2; ++k)
            if (!delivered[k])
                for (const HostMeshGroup& g : meshes[k].groups)
                    check(g.Vtx == meshes[k].vertices.data() && g.nIdx == 3 && g.UsrFlag == 0);
    }
    // What unloading the library does: the next input starts on a fresh engine.
    frontrelease(&front);
    return 0;
}
