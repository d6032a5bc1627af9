// Proof that the engine's mirrors of the host records have the host's layout, so that the group and
// material pointers handed over in the frame record can be read and written by the engine as they are,
// and that every table entry the engine calls has, record for mirror, the type the engine calls it by.
#include "Adapters.h"
#include "HostRecords.h"
#include "HostServiceTable.h"

#include "Orbitersdk.h"

#include <cstddef>
#include <type_traits>

#define SAME_SIZE(host, mirror) static_assert(sizeof(host) == sizeof(mirror), #host " size")
#define SAME_OFFSET(host, mirror, field)                                                                               \
    static_assert(offsetof(host, field) == offsetof(mirror, field), #host "." #field " offset")

SAME_SIZE(VECTOR3, HostVector);
SAME_OFFSET(VECTOR3, HostVector, x);
SAME_OFFSET(VECTOR3, HostVector, y);
SAME_OFFSET(VECTOR3, HostVector, z);

SAME_SIZE(NTVERTEX, HostVertex);
SAME_OFFSET(NTVERTEX, HostVertex, x);
SAME_OFFSET(NTVERTEX, HostVertex, y);
SAME_OFFSET(NTVERTEX, HostVertex, z);
SAME_OFFSET(NTVERTEX, HostVertex, nx);
SAME_OFFSET(NTVERTEX, HostVertex, ny);
SAME_OFFSET(NTVERTEX, HostVertex, nz);
SAME_OFFSET(NTVERTEX, HostVertex, tu);
SAME_OFFSET(NTVERTEX, HostVertex, tv);

SAME_SIZE(COLOUR4, HostColour);
SAME_OFFSET(COLOUR4, HostColour, r);
SAME_OFFSET(COLOUR4, HostColour, g);
SAME_OFFSET(COLOUR4, HostColour, b);
SAME_OFFSET(COLOUR4, HostColour, a);

SAME_SIZE(MATERIAL, HostMaterial);
SAME_OFFSET(MATERIAL, HostMaterial, diffuse);
SAME_OFFSET(MATERIAL, HostMaterial, ambient);
SAME_OFFSET(MATERIAL, HostMaterial, specular);
SAME_OFFSET(MATERIAL, HostMaterial, emissive);
SAME_OFFSET(MATERIAL, HostMaterial, power);

SAME_SIZE(MESHGROUP, HostMeshGroup);
SAME_OFFSET(MESHGROUP, HostMeshGroup, Vtx);
SAME_OFFSET(MESHGROUP, HostMeshGroup, Idx);
SAME_OFFSET(MESHGROUP, HostMeshGroup, nVtx);
SAME_OFFSET(MESHGROUP, HostMeshGroup, nIdx);
SAME_OFFSET(MESHGROUP, HostMeshGroup, MtrlIdx);
SAME_OFFSET(MESHGROUP, HostMeshGroup, TexIdx);
SAME_OFFSET(MESHGROUP, HostMeshGroup, UsrFlag);
SAME_OFFSET(MESHGROUP, HostMeshGroup, zBias);
SAME_OFFSET(MESHGROUP, HostMeshGroup, Flags);

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
