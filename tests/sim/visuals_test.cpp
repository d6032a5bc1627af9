// Visuals: created in the drawing phase of the step that made the vessel, each with its own deep
// copy of the meshes, drawn from the group records as they stand, and freeing only its own arrays.
#include "simfixture.h"

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
}

TEST_F(VisualTest, DestroyingAVisualFreesOnlyItsOwnArrays)
{
    // Under AddressSanitizer a free of the module's static arrays, or a leak of the visual's own,
    // fails this test.
    st->repointOnVisual = true;
    OBJHANDLE p = makeProbe();
    hostsim::step();
    MESHHANDLE inst = hostsim::visualMesh(p, 0);
    EXPECT_FALSE(hostsim::groupUsesOwnArrays(inst, 0));
    EXPECT_TRUE(hostsim::groupUsesOwnArrays(inst, 1));
    hostsim::step();
    EXPECT_EQ(hostsim::drawStats(p).triangles, 3u);
    hostsim::destroyVisual(p);
    hostsim::step(); // recreated from the untouched template, repointed again
    EXPECT_EQ(st->visualsCreated, 2);
    EXPECT_TRUE(hostsim::groupUsesOwnArrays(hostsim::meshTemplate(p, 0), 0));
    EXPECT_FALSE(hostsim::groupUsesOwnArrays(hostsim::visualMesh(p, 0), 0));
    oapiDeleteVessel(p);
    EXPECT_EQ(st->visualsDestroyed, 2);
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
