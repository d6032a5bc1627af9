// Mirrors of the host records that cross into the engine library.
//
// The engine never includes the host SDK: it sees the host's vectors, vertices, mesh groups and
// materials through these layout-identical records. The plug-in, which sees both, proves the
// layouts equal at compile time (plugin/RecordChecks.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

// VECTOR3: three 64-bit floats x, y, z.
struct HostVector {
    double x, y, z;
};

// NTVERTEX: position, normal, texture coordinates, all 32-bit floats.
struct HostVertex {
    float x, y, z;
    float nx, ny, nz;
    float tu, tv;
};

// COLOUR4: r, g, b, a as 32-bit floats.
struct HostColour {
    float r, g, b, a;
};

// MATERIAL: four colours, then the specular power.
struct HostMaterial {
    HostColour diffuse, ambient, specular, emissive;
    float power;
};

// MESHGROUP: the host draws a group from whatever these fields hold at drawing time.
struct HostMeshGroup {
    HostVertex* Vtx;
    std::uint16_t* Idx;
    std::uint32_t nVtx;
    std::uint32_t nIdx;
    std::uint32_t MtrlIdx;
    std::uint32_t TexIdx;
    std::uint32_t UsrFlag;
    std::uint16_t zBias;
    std::uint16_t Flags;
};

static_assert(sizeof(HostVector) == 24, "VECTOR3 is three doubles");
static_assert(sizeof(HostVertex) == 32, "NTVERTEX is eight floats");
static_assert(sizeof(HostColour) == 16, "COLOUR4 is four floats");
static_assert(sizeof(HostMaterial) == 68, "MATERIAL is four colours and a float");
static_assert(offsetof(HostMeshGroup, nVtx) == 2 * sizeof(void*), "MESHGROUP counts follow the two pointers");
static_assert(offsetof(HostMeshGroup, zBias) == 2 * sizeof(void*) + 20, "MESHGROUP zBias offset");
static_assert(sizeof(HostMeshGroup) == 2 * sizeof(void*) + 24, "MESHGROUP size");
