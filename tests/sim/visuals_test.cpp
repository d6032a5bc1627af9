// Visuals: created in the drawing phase of the step that made the vessel, each with its own deep
// copy of the meshes, drawn from the group records as they stand, and freed as the host frees them:
// through the group records, so a group left on a module's memory stops the simulator, as does a
// stale mesh or visual handle.
#include "simfixture.h"

#include <functional>
#include <vector>

namespace {

class VisualTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        hostsim::addSolarBodies();
        writeProbeClass();
        writeProbeMesh();
        st = probe(hostsim::loadPlugin("simprobe"));
        ASSERT_NE(st, nullptr);
        focus = hostsim::createLanded("Focus", "", earth(), 0, 0);
    }

    OBJHANDLE makeProbe() { return hostsim::createLanded("P", "SimProbe", earth(), 0, 1e-6); }

    ProbeState* st = nullptr;
    OBJHANDLE focus = nullptr;
};

TEST_F(VisualTest, VesselCreatedInAStepHasItsVisualBeforeTheNextPreStep)
{
    OBJHANDLE p = makeProbe();
    EXPECT_EQ(hostsim::visualOf(p), nullptr);
    hostsim::step();
    EXPECT_NE(hostsim::visualOf(p), nullptr);
    EXPECT_EQ(st->visualsCreated, 1);
    EXPECT_EQ(st->lastRefcount, 1);
    hostsim::step();
    EXPECT_TRUE(st->visualAtPreStep);
    EXPECT_EQ(st->visualsCreated, 1);
}

TEST_F(VisualTest, VisualOutOfRangeIsDestroyedAndComesBack)
{
    OBJHANDLE p = makeProbe();
    hostsim::step();
    // Probe 4 m in size; from 40 000 km it is far below the default visibility limit.
    hostsim::setCameraGlobal(hostsim::vessel(p).pos + _V(4e7, 0, 0), _V(-1, 0, 0));
    hostsim::step();
    EXPECT_EQ(hostsim::visualOf(p), nullptr);
    EXPECT_EQ(st->visualsDestroyed, 1);
    hostsim::setCameraExternal(30);
    hostsim::step();
    EXPECT_NE(hostsim::visualOf(p), nullptr);
    EXPECT_EQ(st->visualsCreated, 2);
    hostsim::destroyVisual(p);
    EXPECT_EQ(st->visualsDestroyed, 2);
    hostsim::suppressVisual(p, true);
    hostsim::step();
    EXPECT_EQ(hostsim::visualOf(p), nullptr);
    hostsim::createVisual(p);
    EXPECT_EQ(st->visualsCreated, 3);
}

TEST_F(VisualTest, VisualOwnsADeepCopyOfTheTemplate)
{
    OBJHANDLE p = makeProbe();
    hostsim::step();
    VESSEL* iface = oapiGetVesselInterface(p);
    MESHHANDLE inst = iface->GetMesh(hostsim::visualOf(p), 0);
    MESHHANDLE tmpl = iface->GetMeshTemplate(0);
    ASSERT_TRUE(inst && tmpl);
    EXPECT_EQ(inst, st->lastVisualMesh);
    EXPECT_NE(inst, tmpl);
    EXPECT_EQ(iface->GetMesh(nullptr, 0), nullptr);
    EXPECT_EQ(iface->GetMesh(hostsim::visualOf(p), 1), nullptr);
    ASSERT_EQ(oapiMeshGroupCount(inst), 2u);
    MESHGROUP* gi = oapiMeshGroup(inst, 0);
    MESHGROUP* gt = oapiMeshGroup(tmpl, 0);
    EXPECT_NE(gi->Vtx, gt->Vtx);
    gi->Vtx[1].x = 99.0f;
    oapiMeshMaterial(inst, 0)->diffuse.a = 0.25f;
    EXPECT_FLOAT_EQ(gt->Vtx[1].x, 1.0f);
    EXPECT_FLOAT_EQ(oapiMeshMaterial(tmpl, 0)->diffuse.a, 0.5f);
    EXPECT_EQ(oapiMeshGroup(inst, 2), nullptr);
    EXPECT_EQ(oapiMeshMaterial(inst, 1), nullptr);
    // The next drawing reads the edited instance.
    hostsim::step();
    const hostsim::DrawStats d = hostsim::drawStats(p);
    EXPECT_EQ(d.groups, 2u);
    EXPECT_EQ(d.triangles, 3u);
    EXPECT_DOUBLE_EQ(d.extent, 99.0);
    EXPECT_FLOAT_EQ(d.alphaMax, 0.25f);
}

TEST_F(VisualTest, DrawingReadsCountsAndPointersAsTheyStand)
{
    OBJHANDLE p = makeProbe();
    hostsim::step();
    MESHHANDLE inst = hostsim::visualMesh(p, 0);
    MESHGROUP* g = oapiMeshGroup(inst, 1);
    g->nIdx = 3; // only the first triangle of the quad
    oapiMeshGroup(inst, 0)->UsrFlag |= 0x2; // "do not render"
    EXPECT_TRUE(oapiSetMeshProperty(inst, MESHPROPERTY_MODULATEMATALPHA, 1));
    EXPECT_FALSE(oapiSetMeshProperty(inst, 2, 1));
    hostsim::step();
    hostsim::DrawStats d = hostsim::drawStats(p);
    EXPECT_EQ(d.groups, 1u);
    EXPECT_EQ(d.triangles, 1u);
    EXPECT_TRUE(d.modulateAlpha);
    EXPECT_EQ(hostsim::meshProperty(hostsim::meshTemplate(p, 0), MESHPROPERTY_MODULATEMATALPHA), 0u);
    g->Idx[0] = 7; // beyond the group's 4 vertices: counted, not read
    hostsim::step();
    d = hostsim::drawStats(p);
    EXPECT_EQ(d.badIndices, 1u);
    EXPECT_EQ(d.triangles, 0u);
    EXPECT_EQ(hostsim::drawList().size(), 1u);
    // Of the drawn groups, those without "no shadow" (user flag 1) would cast a ground shadow.
    EXPECT_EQ(d.shadowGroups, 1u);
    g->UsrFlag |= 0x1;
    hostsim::step();
    EXPECT_EQ(hostsim::drawStats(p).groups, 1u);
    EXPECT_EQ(hostsim::drawStats(p).shadowGroups, 0u);
}

// Every way a visual goes: out of visual range, with its vessel deleting itself in its own step, at
// the end of the session. A group left on the module's static arrays stops the simulator there (the
// host would free them); handed back, the visual's own arrays are freed (under AddressSanitizer no
// bad free and no leak).
TEST_F(VisualTest, DestroyingAVisualWithAGroupOnModuleMemoryStopsTheSimulator)
{
    struct Path {
        const char* name;
        std::function<void(OBJHANDLE)> destroy;
    };
    const Path paths[] = {
        {"out of visual range",
            [](OBJHANDLE p) {
                // Probe 4 m in size; from 40 000 km it is far below the default visibility limit.
                hostsim::setCameraGlobal(hostsim::vessel(p).pos + _V(4e7, 0, 0), _V(-1, 0, 0));
                hostsim::step();
            }},
        {"deleted in its own step",
            [this](OBJHANDLE) {
                st->deleteSelfAtStep = st->vesselPreSteps + 1;
                hostsim::step();
            }},
        {"end of the session", [this](OBJHANDLE) { session.reset(); }}, // last: unloads the probe
    };
    for (const Path& path : paths) {
        SCOPED_TRACE(path.name);
        st->repointOnVisual = true;
        st->handBackOnDestroy = false;
        st->deleteSelfAtStep = 0;
        hostsim::setCameraExternal(30);
        const OBJHANDLE p = makeProbe();
        hostsim::step();
        const MESHHANDLE inst = hostsim::visualMesh(p, 0);
        ASSERT_FALSE(hostsim::groupUsesOwnArrays(inst, 0));
        ASSERT_TRUE(hostsim::groupUsesOwnArrays(inst, 1));
        EXPECT_EXIT(path.destroy(p), ::testing::ExitedWithCode(hostsim::fatalExitCode),
            "hostsim: fatal: vessel P: group 0 of mesh 0 of its visual points at vertex array 0x[0-9a-f]+ ");

        st->handBackOnDestroy = true;
        const int destroyed = st->visualsDestroyed;
        path.destroy(p);
        if (!session)
            break;
        EXPECT_EQ(st->visualsDestroyed, destroyed + 1);
        EXPECT_EQ(hostsim::visualOf(p), nullptr);
        if (hostsim::isVessel(p))
            oapiDeleteVessel(p);
    }
}

// The host uses mesh and visual handles unchecked, so a stale one is a use after free there: every SDK
// function that takes one stops the simulator on it. A null handle is no handle, except where the host
// dereferences it in every generation (oapiMeshMaterial, oapiSetMeshProperty).
TEST_F(VisualTest, StaleMeshOrVisualHandleStopsTheSimulator)
{
    const OBJHANDLE p = makeProbe();
    hostsim::step();
    VESSEL* iface = oapiGetVesselInterface(p);
    const VISHANDLE vis = hostsim::visualOf(p);
    const MESHHANDLE inst = hostsim::visualMesh(p, 0);
    ASSERT_TRUE(vis && inst);
    EXPECT_EQ(iface->GetMesh(vis, 0), inst);
    hostsim::suppressVisual(p, true);
    hostsim::destroyVisual(p);
    EXPECT_EQ(iface->GetMesh(nullptr, 0), nullptr);
    EXPECT_EQ(oapiMeshGroup(MESHHANDLE(nullptr), 0), nullptr);

    struct Use {
        const char* function;
        std::function<void()> call;
        const char* what; // the fatal message after the function's name
    };
    const char* stale = "(mesh|visual) handle 0x[0-9a-f]+ names no live";
    const char* null = "null mesh handle";
    std::vector<Use> uses = {
        {"oapiMeshGroupCount", [&] { oapiMeshGroupCount(inst); }, stale},
        {"oapiMeshGroup", [&] { oapiMeshGroup(inst, 0); }, stale},
        {"oapiMeshMaterialCount", [&] { oapiMeshMaterialCount(inst); }, stale},
        {"oapiMeshMaterial", [&] { oapiMeshMaterial(inst, 0); }, stale},
        {"oapiSetMeshProperty", [&] { oapiSetMeshProperty(inst, MESHPROPERTY_MODULATEMATALPHA, 1); }, stale},
        {"oapiGetTextureHandle", [&] { oapiGetTextureHandle(inst, 1); }, stale},
        {"oapiDeleteMesh", [&] { oapiDeleteMesh(inst); }, stale},
        {"VESSEL::AddMesh", [&] { iface->AddMesh(inst); }, stale},
        {"VESSEL::GetMesh", [&] { iface->GetMesh(vis, 0); }, stale},
    };
    for (int version : {60929, 100830, 160828, 241231}) {
        uses.push_back({"oapiMeshMaterial",
            [version] {
                hostsim::setOrbiterVersion(version);
                oapiMeshMaterial(MESHHANDLE(nullptr), 0);
            },
            null});
        uses.push_back({"oapiSetMeshProperty",
            [version] {
                hostsim::setOrbiterVersion(version);
                oapiSetMeshProperty(MESHHANDLE(nullptr), MESHPROPERTY_MODULATEMATALPHA, 1);
            },
            null});
    }
    for (const Use& use : uses)
        EXPECT_EXIT(use.call(), ::testing::ExitedWithCode(hostsim::fatalExitCode),
            std::string("hostsim: fatal: ") + use.function + ": " + use.what)
            << use.function;
}

TEST_F(VisualTest, MeshTemplatesAreSharedAndNotDeletable)
{
    MESHHANDLE a = oapiLoadMeshGlobal("probe");
    MESHHANDLE b = oapiLoadMeshGlobal("PROBE");
    EXPECT_EQ(a, b);
    oapiDeleteMesh(a);
    EXPECT_EQ(oapiMeshGroupCount(a), 2u);
    EXPECT_EQ(oapiLoadMeshGlobal("missing"), nullptr);
    EXPECT_NE(hostsim::lastError().find("meshes/missing.msh"), std::string::npos);
}

} // namespace
