// The carrier's per-step driver against the probe engine: what maincall receives and when, the alpha
// flag around the call, re-anchoring, visuals that come and go, and which vessels count as carriers.
#include "pluginharness.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

long meshPropertyCalls()
{
    return hostsim::callCount("oapiSetMeshProperty");
}

// A scene with the probe engine, the plug-in loaded and the carrier created under the focus vessel,
// stepped until the engine has been called once.
struct FlyingScene {
    Scene scene {Engine::Probe};
    OBJHANDLE carrier = nullptr;
    ProbeLog* log = nullptr;

    FlyingScene()
    {
        scene.loadPlugin();
        log = probe();
        scene.placeShip(scene.earth, 0.3, 0.5, 2000.0);
        hostsim::step();
        if (carriers().size() == 1)
            carrier = carriers()[0];
        for (int i = 0; log && i < 10 && log->calls == 0; ++i)
            hostsim::step();
    }

    const ProbeCall& lastCall() const { return log->call[log->calls - 1]; }
};

VECTOR3 vec(const HostVector& v)
{
    return _V(v.x, v.y, v.z);
}

VECTOR3 column(const double* m, int c)
{
    return _V(m[c], m[3 + c], m[6 + c]);
}

} // namespace

TEST(CarrierDriver, FirstPreStepDoesNothingThenGroupsAreFetchedOnce)
{
    Scene scene(Engine::Probe);
    ASSERT_NE(scene.loadPlugin(), nullptr);
    ProbeLog* log = probe();
    ASSERT_NE(log, nullptr);
    scene.placeShip(scene.earth, 0.3, 0.5, 2000.0);

    // The host runs a vessel created during the plug-ins' hook in the same step: the carrier's first
    // pre-step, which must do nothing at all, not even apply the alpha flag.
    hostsim::step();
    ASSERT_EQ(carriers().size(), 1u);
    const OBJHANDLE carrier = carriers()[0];
    EXPECT_EQ(meshPropertyCalls(), 0);
    EXPECT_EQ(log->calls, 0);

    // The visual came with the drawing phase; the second pre-step fetches and calls the engine.
    hostsim::step();
    ASSERT_EQ(log->calls, 1);
    EXPECT_EQ(meshPropertyCalls(), 2); // the alpha flag before and after the call

    const MESHHANDLE mesh = hostsim::visualMesh(carrier, 0);
    ASSERT_NE(mesh, nullptr);
    const ProbeCall& first = log->call[0];
    EXPECT_EQ(first.groupsFetched, 1);
    EXPECT_EQ(first.group0, reinterpret_cast<const HostMeshGroup*>(hostsim::group(mesh, 0)));
    EXPECT_EQ(first.group1023, reinterpret_cast<const HostMeshGroup*>(hostsim::group(mesh, 1023)));
    EXPECT_EQ(first.material, reinterpret_cast<const HostMaterial*>(hostsim::material(mesh, 0)));
    ASSERT_NE(first.alphaModPtr, nullptr);

    hostsim::step(3);
    ASSERT_EQ(log->calls, 4);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(log->call[i].groupsFetched, 0);
        EXPECT_EQ(log->call[i].alphaModPtr, first.alphaModPtr);
    }
}

TEST(CarrierDriver, FrameCarriesCameraBodyAxesAndName)
{
    FlyingScene f;
    ASSERT_NE(f.log, nullptr);
    ASSERT_GT(f.log->calls, 0);
    const ProbeCall& call = f.lastCall();

    VECTOR3 bodyPos;
    oapiGetGlobalPos(f.scene.earth, &bodyPos);
    EXPECT_EQ(call.body, f.scene.earth);
    EXPECT_STREQ(call.bodyName, "Earth");
    EXPECT_LT(distance(vec(call.bodyPos), bodyPos), 1e-3);
    const VECTOR3 cameraRel = hostsim::camera().pos - bodyPos;
    EXPECT_LT(distance(vec(call.cameraRel), cameraRel), 1e-3);

    // The body's axes in global axes are the columns of its rotation matrix at that moment.
    const double* rot = call.bodyRot;
    EXPECT_LT(distance(vec(call.bodyAxisX), column(rot, 0)), 1e-9);
    EXPECT_LT(distance(vec(call.bodyAxisY), column(rot, 1)), 1e-9);
    EXPECT_LT(distance(vec(call.bodyAxisZ), column(rot, 2)), 1e-9);
    EXPECT_NEAR(length(vec(call.bodyAxisY)), 1.0, 1e-12);
}

TEST(CarrierDriver, AlphaFlagIsAppliedBeforeAndAfterTheEngineOnlyForZeroAndOne)
{
    FlyingScene f;
    ASSERT_NE(f.log, nullptr);
    const MESHHANDLE mesh = hostsim::visualMesh(f.carrier, 0);
    ASSERT_NE(mesh, nullptr);

    f.log->alpha = 1;
    hostsim::step(); // before the call still 0, after it 1
    long calls = meshPropertyCalls();
    hostsim::step();
    EXPECT_EQ(meshPropertyCalls(), calls + 2);
    EXPECT_EQ(hostsim::meshProperty(mesh, MESHPROPERTY_MODULATEMATALPHA), 1u);

    f.log->alpha = 2;
    hostsim::step(); // before the call 1, after it nothing
    calls = meshPropertyCalls();
    hostsim::step(3);
    EXPECT_EQ(meshPropertyCalls(), calls);
    EXPECT_EQ(hostsim::meshProperty(mesh, MESHPROPERTY_MODULATEMATALPHA), 1u);

    f.log->alpha = 0;
    hostsim::step();
    EXPECT_EQ(hostsim::meshProperty(mesh, MESHPROPERTY_MODULATEMATALPHA), 0u);
}

TEST(CarrierDriver, NonZeroResultReanchorsAfterTheCallAndZeroLeavesTheCarrier)
{
    FlyingScene f;
    ASSERT_NE(f.carrier, nullptr);
    ASSERT_NE(f.log, nullptr);

    f.scene.placeShip(f.scene.earth, 0.5, 0.4, 2000.0);
    hostsim::step();
    EXPECT_NEAR(hostsim::vessel(f.carrier).lng, 0.3, 1e-9);
    EXPECT_NEAR(hostsim::vessel(f.carrier).lat, 0.5, 1e-9);

    f.log->result = 1;
    const int calls = f.log->calls;
    hostsim::step();
    ASSERT_EQ(f.log->calls, calls + 1);
    EXPECT_NEAR(f.lastCall().carrierLng, 0.3, 1e-9); // still where it was while the engine ran
    const hostsim::VesselView view = hostsim::vessel(f.carrier);
    // The focus vessel hangs still while the Earth turns under it by 7.3e-6 rad a step.
    EXPECT_NEAR(view.lng, 0.5, 1e-4);
    EXPECT_NEAR(view.lat, 0.4, 1e-9);
    EXPECT_NEAR(view.hdg, 0.0, 1e-9);
    EXPECT_TRUE(view.landed);
}

TEST(CarrierDriver, BodyChangeReanchorsBeforeTheEngineRuns)
{
    FlyingScene f;
    ASSERT_NE(f.log, nullptr);
    f.scene.placeShip(f.scene.moon, 2.0, -0.3, 1000.0);
    const int calls = f.log->calls;
    hostsim::step();
    ASSERT_EQ(f.log->calls, calls + 1);
    const ProbeCall& call = f.lastCall();
    EXPECT_EQ(call.carrierBody, f.scene.moon);
    EXPECT_NEAR(call.carrierLng, 2.0, 1e-9);
    EXPECT_NEAR(call.carrierLat, -0.3, 1e-9);
    EXPECT_EQ(call.body, f.scene.moon);
    EXPECT_STREQ(call.bodyName, "Moon");
}

TEST(CarrierDriver, DestroyedVisualStopsTheEngineAndANewVisualIsFetchedAfresh)
{
    FlyingScene f;
    ASSERT_NE(f.carrier, nullptr);
    ASSERT_NE(f.log, nullptr);
    f.log->alpha = 1;
    hostsim::step();

    hostsim::suppressVisual(f.carrier, true);
    hostsim::destroyVisual(f.carrier);
    const int calls = f.log->calls;
    const long propertyCalls = meshPropertyCalls();
    hostsim::step(3);
    // No engine, and nothing applied to the mesh instance that went with the visual.
    EXPECT_EQ(f.log->calls, calls);
    EXPECT_EQ(meshPropertyCalls(), propertyCalls);
    EXPECT_EQ(carriers().size(), 1u);

    hostsim::suppressVisual(f.carrier, false);
    for (int i = 0; i < 5 && f.log->calls == calls; ++i)
        hostsim::step();
    ASSERT_EQ(f.log->calls, calls + 1);
    const MESHHANDLE mesh = hostsim::visualMesh(f.carrier, 0);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(f.lastCall().groupsFetched, 1);
    EXPECT_EQ(f.lastCall().group0, reinterpret_cast<const HostMeshGroup*>(hostsim::group(mesh, 0)));
    EXPECT_EQ(hostsim::meshProperty(mesh, MESHPROPERTY_MODULATEMATALPHA), 1u);
}

TEST(CarrierDriver, MeshWithFewerThan1024GroupsNeverReachesTheEngine)
{
    Scene scene(Engine::Probe, 1023);
    ASSERT_NE(scene.loadPlugin(), nullptr);
    ProbeLog* log = probe();
    ASSERT_NE(log, nullptr);
    scene.placeShip(scene.earth, 0.3, 0.5, 2000.0);
    hostsim::step(4);
    const long fetches = hostsim::callCount("oapiMeshGroup");
    EXPECT_GT(fetches, 0); // the fetch was tried...
    hostsim::step(4);
    EXPECT_GT(hostsim::callCount("oapiMeshGroup"), fetches); // ...and is tried again every step
    EXPECT_EQ(log->calls, 0);
    EXPECT_EQ(carriers().size(), 1u);
}

TEST(CarrierDriver, OnlyTheExactClassNameCountsAndEveryCarrierIsDeleted)
{
    Scene scene(Engine::Probe);
    ASSERT_NE(scene.loadPlugin(), nullptr);
    const OBJHANDLE imposter = hostsim::createLanded("Imposter", "hazeCarrier", scene.earth, 0.1, 0.1, 0, true);
    ASSERT_NE(imposter, nullptr);
    scene.placeShip(scene.earth, 0.3, 0.5, 2000.0);
    hostsim::step();
    ASSERT_EQ(carriers().size(), 1u); // the imposter did not count as a carrier
    const OBJHANDLE second = hostsim::createLanded("Second", "HazeCarrier", scene.earth, 0.2, 0.2, 0, true);
    ASSERT_NE(second, nullptr);
    hostsim::step();
    EXPECT_EQ(carriers().size(), 2u);

    scene.placeShip(scene.earth, 0.3, 0.5, 2.5 * oapiGetSize(scene.earth));
    hostsim::step();
    hostsim::step();
    EXPECT_TRUE(carriers().empty());
    EXPECT_FALSE(hostsim::isVessel(second));
    EXPECT_TRUE(hostsim::isVessel(imposter));
}

TEST(CarrierDriver, TableIsHandedOnceWithReservedSlotsNullAndTheRightOverloads)
{
    Scene scene(Engine::Probe);
    ASSERT_NE(scene.loadPlugin(), nullptr);
    ProbeLog* log = probe();
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log->initCalls, 1);
    ASSERT_NE(log->tableAddress, nullptr);
    for (int slot = 0; slot < hostServiceSlots; ++slot)
        EXPECT_EQ(log->table.entry[slot] == nullptr, hostSlotReserved(slot)) << "slot " << slot;

    typedef BOOL GetAltitudeFn(OBJHANDLE, double*);
    typedef void AtmParamsFn(OBJHANDLE, double, ATMPARAM*);
    typedef MATERIAL* MeshMaterialFn(MESHHANDLE, DWORD);
    EXPECT_EQ(log->table.entry[slotGetSize], reinterpret_cast<HostEntry>(&oapiGetSize));
    EXPECT_EQ(
        log->table.entry[slotGetAltitude], reinterpret_cast<HostEntry>(static_cast<GetAltitudeFn*>(oapiGetAltitude)));
    EXPECT_EQ(log->table.entry[slotGetPlanetAtmParams],
        reinterpret_cast<HostEntry>(static_cast<AtmParamsFn*>(oapiGetPlanetAtmParams)));
    EXPECT_EQ(log->table.entry[slotMeshMaterial],
        reinterpret_cast<HostEntry>(static_cast<MeshMaterialFn*>(oapiMeshMaterial)));
    EXPECT_EQ(
        log->table.entry[slotGetFocusShipAirspeedVector], reinterpret_cast<HostEntry>(&oapiGetFocusShipAirspeedVector));
}

TEST(CarrierDriver, ModuleVersionIsAskedOnceAndExitModuleFreesTheEngine)
{
    Scene scene(Engine::Probe);
    const HMODULE plugin = scene.loadPlugin();
    ASSERT_NE(plugin, nullptr);
    typedef int (*VersionEntry)();
    const auto version
        = reinterpret_cast<VersionEntry>(reinterpret_cast<void (*)()>(GetProcAddress(plugin, "GetModuleVersion")));
    ASSERT_NE(version, nullptr);
    // The host asked for the version while loading the module; later calls answer from the cache.
    const long asked = hostsim::callCount("Date2Int");
    EXPECT_EQ(version(), 60425); // Apr 25 2006 as the host numbers dates
    EXPECT_EQ(version(), 60425);
    EXPECT_EQ(hostsim::callCount("Date2Int"), asked);

    ASSERT_NE(probe(), nullptr);
    ASSERT_TRUE(hostsim::unloadPlugin("skyveil"));
    EXPECT_EQ(probe(), nullptr);
}
