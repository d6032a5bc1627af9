// Proof that the engine's mirrors of the host records have the host's layout, so that the group and
// material pointers handed over in the frame record can be read and written by the engine as they are,
// and that every table entry the engine calls has, record for mirror, the type the engine calls it by.
#include "Adapters.h"
#include "HostRecords.h"
#include "HostServiceTable.h"

#include "Orbitersdk.h"

#include <cstddef>
#include <type_traits>

// One check per record: its size and the offset of every field agree with the mirror's.
#define SAME_AT(host, mirror, field) (offsetof(host, field) == offsetof(mirror, field))

static_assert(sizeof(VECTOR3) == sizeof(HostVector) && SAME_AT(VECTOR3, HostVector, x)
        && SAME_AT(VECTOR3, HostVector, y) && SAME_AT(VECTOR3, HostVector, z),
    "VECTOR3 and HostVector differ in layout");
static_assert(sizeof(NTVERTEX) == sizeof(HostVertex) && SAME_AT(NTVERTEX, HostVertex, x)
        && SAME_AT(NTVERTEX, HostVertex, y) && SAME_AT(NTVERTEX, HostVertex, z) && SAME_AT(NTVERTEX, HostVertex, nx)
        && SAME_AT(NTVERTEX, HostVertex, ny) && SAME_AT(NTVERTEX, HostVertex, nz) && SAME_AT(NTVERTEX, HostVertex, tu)
        && SAME_AT(NTVERTEX, HostVertex, tv),
    "NTVERTEX and HostVertex differ in layout");
static_assert(sizeof(COLOUR4) == sizeof(HostColour) && SAME_AT(COLOUR4, HostColour, r)
        && SAME_AT(COLOUR4, HostColour, g) && SAME_AT(COLOUR4, HostColour, b) && SAME_AT(COLOUR4, HostColour, a),
    "COLOUR4 and HostColour differ in layout");
static_assert(sizeof(MATERIAL) == sizeof(HostMaterial) && SAME_AT(MATERIAL, HostMaterial, diffuse)
        && SAME_AT(MATERIAL, HostMaterial, ambient) && SAME_AT(MATERIAL, HostMaterial, specular)
        && SAME_AT(MATERIAL, HostMaterial, emissive) && SAME_AT(MATERIAL, HostMaterial, power),
    "MATERIAL and HostMaterial differ in layout");
static_assert(sizeof(MESHGROUP) == sizeof(HostMeshGroup) && SAME_AT(MESHGROUP, HostMeshGroup, Vtx)
        && SAME_AT(MESHGROUP, HostMeshGroup, Idx) && SAME_AT(MESHGROUP, HostMeshGroup, nVtx)
        && SAME_AT(MESHGROUP, HostMeshGroup, nIdx) && SAME_AT(MESHGROUP, HostMeshGroup, MtrlIdx)
        && SAME_AT(MESHGROUP, HostMeshGroup, TexIdx) && SAME_AT(MESHGROUP, HostMeshGroup, UsrFlag)
        && SAME_AT(MESHGROUP, HostMeshGroup, zBias) && SAME_AT(MESHGROUP, HostMeshGroup, Flags),
    "MESHGROUP and HostMeshGroup differ in layout");

// A host type as the engine sees it: the SDK's records become their mirrors, VESSEL* stays opaque.
template <typename T> struct EngineView {
    using type = T;
};
template <> struct EngineView<VECTOR3*> {
    using type = HostVector*;
};
template <> struct EngineView<VESSEL*> {
    using type = void*;
};
template <typename R, typename... A> struct EngineView<R(A...)> {
    using type = typename EngineView<R>::type(typename EngineView<A>::type...);
};

#define SAME_CALL(entry, engineType)                                                                                   \
    static_assert(std::is_same<EngineView<decltype(entry)>::type, std::remove_pointer<engineType>::type>::value,       \
        #entry " is called by the engine as " #engineType)

SAME_CALL(oapiGetSize, HostGetSizeFn);
SAME_CALL(oapiGetTimeAcceleration, HostGetTimeAccelerationFn);
SAME_CALL(oapiGetFocusEquPos, HostGetFocusEquPosFn);
SAME_CALL(oapiGetFocusObject, HostGetFocusObjectFn);
SAME_CALL(oapiGetVesselInterface, HostGetVesselInterfaceFn);
SAME_CALL(vesselGlobalAxes, HostVesselGlobalAxesFn);
SAME_CALL(oapiGetFocusAirspeed, HostGetFocusAirspeedFn);
SAME_CALL(oapiGetFocusShipAirspeedVector, HostGetFocusShipAirspeedVectorFn);
