// The record the carrier vessel hands to the engine's maincall once per step.
//
// The plug-in owns it (it lives inside the carrier vessel object) and fills it before each call; the
// engine reads it during the call only. Field order is fixed. In a 32-bit build every offset and the
// size (4496 bytes) are the host-facing ones, proven below; a 64-bit build keeps the order with
// native pointers.
#pragma once

#include "HostRecords.h"

#include <cstddef>
#include <cstdint>

constexpr int frameGroupCount = 1024;
constexpr int frameBodyNameSize = 256;

struct FrameRecord {
    HostMeshGroup* groups[frameGroupCount]; // groups 0..1023 of the carrier's visual mesh
    HostMaterial* material; // material 0 of that mesh
    std::uint32_t reserved; // never written, never read
    HostVector cameraRel; // camera minus body position, global axes [m]
    HostVector bodyPos; // body's global position [m]; not read by the engine
    HostVector bodyAxisX; // body's x axis (lat 0, lng 0) in global axes
    HostVector bodyAxisZ; // body's z axis (lat 0, lng 90 deg east)
    HostVector bodyAxisY; // body's y axis (north pole)
    char bodyName[frameBodyNameSize]; // body name; NUL-terminated unless it fills all 256 bytes
    void* body; // OBJHANDLE of the reference body
    void* carrier; // OBJHANDLE of the carrier vessel
    std::int32_t* alphaModPtr; // where the engine writes the alpha flag
    std::int32_t groupsFetched; // 1 on the step the groups were fetched afresh
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(offsetof(FrameRecord, groups) == 0, "groups");
static_assert(offsetof(FrameRecord, material) == 4096, "material");
static_assert(offsetof(FrameRecord, reserved) == 4100, "reserved");
static_assert(offsetof(FrameRecord, cameraRel) == 4104, "cameraRel");
static_assert(offsetof(FrameRecord, bodyPos) == 4128, "bodyPos");
static_assert(offsetof(FrameRecord, bodyAxisX) == 4152, "bodyAxisX");
static_assert(offsetof(FrameRecord, bodyAxisZ) == 4176, "bodyAxisZ");
static_assert(offsetof(FrameRecord, bodyAxisY) == 4200, "bodyAxisY");
static_assert(offsetof(FrameRecord, bodyName) == 4224, "bodyName");
static_assert(offsetof(FrameRecord, body) == 4480, "body");
static_assert(offsetof(FrameRecord, carrier) == 4484, "carrier");
static_assert(offsetof(FrameRecord, alphaModPtr) == 4488, "alphaModPtr");
static_assert(offsetof(FrameRecord, groupsFetched) == 4492, "groupsFetched");
static_assert(sizeof(FrameRecord) == 4496, "FrameRecord is 4496 bytes on 32-bit targets");
#endif
