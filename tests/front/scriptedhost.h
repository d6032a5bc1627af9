// A host service table for driving the engine: the eight services the engine may call answer from
// a script, every other slot is a recorder, and every call is counted per slot. Built as the static
// library front_scriptedhost, without GoogleTest, so that the tests and bench_front drive the engine
// through the same table.
#pragma once

#include "FrameRecord.h"
#include "HostServiceTable.h"

#include <array>
#include <vector>

struct hostscript {
    double size = 6371000.0; // slot 1
    double timeacc = 1.0; // slot 8
    double lng = 0.0; // slot 10
    double lat = 0.0;
    void* focus = reinterpret_cast<void*>(0x1000); // slot 24
    void* vesselif = reinterpret_cast<void*>(0x2000); // slot 35
    HostVector axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}; // slot 63: global axes in the vessel's frame
    double airspeed = 0.0; // slot 104
    HostVector airvec = {0, 0, 0}; // slot 105
    std::array<int, hostServiceSlots> calls {};
    void* sizebody = nullptr; // last argument of slot 1
    void* interfacearg = nullptr; // last argument of slot 35
    void* axesvessel = nullptr; // last vessel argument of slot 63
};

extern hostscript script;

// The slots the engine is allowed to call.
bool engineslot(int slot);

// A table with the scripted services and recorders in all other slots (reserved ones included, so
// that a call of any of them is seen).
HostServiceTable recordingtable();

// The carrier's side of a step: 1024 groups and a material carrying marker values in the fields the
// engine must not touch, the alpha flag, and a frame pointing at them.
struct carrierkit {
    std::vector<HostMeshGroup> groups;
    HostMaterial material;
    std::int32_t alpha = -7;
    FrameRecord frame {};

    carrierkit();
    void name(const char* text); // bodyName, NUL-terminated
    void camera(double x, double y, double z); // cameraRel, global axes
    int blockgroups() const; // groups with 81 vertices
};

// Marker values of the untouched fields.
constexpr std::uint32_t markmtrl = 7;
constexpr std::uint32_t marktex = 9;
constexpr std::uint16_t markzbias = 3;
constexpr std::uint16_t markflags = 0x55;
constexpr float markcolour = 0.25f;
constexpr float markpower = 12.5f;
