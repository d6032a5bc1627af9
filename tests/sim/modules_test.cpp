// Module loading: InitModule through the attach glue or by the simulator, one instance shared as
// plug-in and vessel module, the step hooks' order, ExitModule at the last unload.
#include "simfixture.h"

#include <algorithm>
#include <cmath>

// The core's export that the SDK glue uses; modules declare it themselves.
OAPIFUNC int Date2Int(char* date);

namespace {

bool logged(const std::string& line)
{
    const auto& log = hostsim::logLines();
    return std::find(log.begin(), log.end(), line) != log.end();
}

TEST_F(SimTest, PluginWithoutGlueGetsInitModuleOnceAndExitModuleAtUnload)
{
    HMODULE h = hostsim::loadPlugin("simprobe");
    ASSERT_NE(h, nullptr);
    ProbeState* st = probe(h);
    ASSERT_NE(st, nullptr);
    EXPECT_EQ(st->initModule, 1);
    EXPECT_EQ(hostsim::callCount("InitLib"), 0);
    EXPECT_EQ(hostsim::loadPlugin("simprobe"), h); // already active: same instance, no second init
    EXPECT_EQ(st->initModule, 1);
    EXPECT_TRUE(hostsim::unloadPlugin("simprobe"));
    EXPECT_TRUE(logged("probe: ExitModule"));
    EXPECT_FALSE(hostsim::unloadPlugin("simprobe"));
}

TEST_F(SimTest, PluginWithGlueRegistersThroughInitLibAndExitsThroughDetach)
{
    HMODULE h = hostsim::loadPlugin("simglue");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(hostsim::callCount("InitLib"), 1);
    EXPECT_EQ(probe(h)->initModule, 1);
    EXPECT_TRUE(logged("probe: InitModule"));
    EXPECT_FALSE(logged("probe: ExitModule"));
    EXPECT_TRUE(hostsim::unloadPlugin("simglue"));
    EXPECT_TRUE(logged("probe: ExitModule"));
    EXPECT_EQ(hostsim::callCount("InitLib"), 1);
}

TEST_F(SimTest, MissingPluginFailsWithAnError)
{
    EXPECT_EQ(hostsim::loadPlugin("nosuchplugin"), nullptr);
    EXPECT_NE(hostsim::lastError().find("nosuchplugin"), std::string::npos);
}

TEST_F(SimTest, OneInstanceServesAsPluginAndVesselModule)
{
    hostsim::addSolarBodies();
    writeProbeClass();
    HMODULE h = hostsim::loadPlugin("simprobe");
    ProbeState* st = probe(h);
    OBJHANDLE v = hostsim::createLanded("P1", "SimProbe", earth(), 0.1, 0.2);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(st->ovcInit, 1);
    EXPECT_EQ(st->initModule, 1);
    EXPECT_TRUE(hostsim::vessel(v).fromModule);
    EXPECT_STREQ(st->note, "from the class file");
    // The plug-in goes first; the module stays loaded for the vessel.
    EXPECT_TRUE(hostsim::unloadPlugin("simprobe"));
    EXPECT_EQ(st->exitModule, 0);
    hostsim::step();
    EXPECT_EQ(st->vesselPreSteps, 1);
    EXPECT_EQ(oapiDeleteVessel(v), true);
    EXPECT_TRUE(logged("probe: ExitModule"));
}

TEST_F(SimTest, VesselModuleIsLoadedOnDemandAndFreedWithTheLastVessel)
{
    hostsim::addSolarBodies();
    writeProbeClass();
    OBJHANDLE a = hostsim::createLanded("A", "SimProbe", earth(), 0, 0);
    OBJHANDLE b = hostsim::createLanded("B", "SimProbe", earth(), 0.1, 0);
    ASSERT_TRUE(a && b);
    ProbeState* st = probe(hostsim::loadPlugin("simprobe"));
    EXPECT_EQ(st->initModule, 1);
    EXPECT_EQ(st->ovcInit, 2);
    hostsim::unloadPlugin("simprobe");
    oapiDeleteVessel(a);
    EXPECT_EQ(st->ovcExit, 1);
    EXPECT_FALSE(logged("probe: ExitModule"));
    oapiDeleteVessel(b);
    EXPECT_TRUE(logged("probe: ExitModule"));
}

TEST_F(SimTest, StepCallsPluginHooksBeforeVesselCallbacksWithTheStartTime)
{
    hostsim::addSolarBodies();
    writeProbeClass();
    ProbeState* st = probe(hostsim::loadPlugin("simprobe"));
    ASSERT_NE(st, nullptr);
    hostsim::setTimeStep(0.5);
    hostsim::createLanded("P", "SimProbe", earth(), 0, 0);
    hostsim::step();
    hostsim::step();
    EXPECT_EQ(std::string(st->events).substr(0, 5), "OPVCP"); // no mesh file: the visual still comes
    EXPECT_DOUBLE_EQ(st->lastPluginSimt, 0.5);
    EXPECT_DOUBLE_EQ(st->lastVesselSimt, 0.5);
    EXPECT_DOUBLE_EQ(hostsim::simTime(), 1.0);
    EXPECT_EQ(hostsim::callCount("VESSEL2::clbkPreStep"), 0); // the module overrides it
}

TEST_F(SimTest, AddonTimeCoversTheModulesCallbacksAndNoneOfTheHostsOwnWork)
{
    hostsim::addSolarBodies();
    writeProbeClass();
    writeProbeMesh();
    writeFile("config/vessels/Plain.cfg", "ClassName = Plain\r\nMeshName = probe\r\n");
    const OBJHANDLE plain = hostsim::createLanded("Plain", "Plain", earth(), 0, 0);
    hostsim::step(2);
    ASSERT_GT(hostsim::drawStats(plain).triangles, 0u);
    EXPECT_EQ(hostsim::addonTimeLastStep(), 0.0); // the host stepped and drew; no add-on code ran

    ProbeState* st = probe(hostsim::loadPlugin("simprobe"));
    ASSERT_NE(st, nullptr);
    const OBJHANDLE p = hostsim::createLanded("P", "SimProbe", earth(), 0, 1e-6);
    hostsim::step();
    // Plug-in step, vessel step and a visual made again in the drawing phase: each is the add-on's.
    for (char where : {'P', 'V', 'C'}) {
        if (where == 'C')
            hostsim::destroyVisual(p);
        st->spinIn = where;
        st->spinMicros = 3000;
        hostsim::step();
        const double us = hostsim::addonTimeLastStep();
        EXPECT_TRUE(std::isfinite(us)) << where;
        EXPECT_GE(us, 3000.0) << where;
    }
    EXPECT_EQ(st->visualsCreated, 2);

    st->spinIn = 0;
    oapiDeleteVessel(p);
    hostsim::unloadPlugin("simprobe");
    hostsim::step();
    EXPECT_EQ(hostsim::addonTimeLastStep(), 0.0);
}

TEST(Date2Int, ParsesTheBuildDateFormat)
{
    EXPECT_EQ(Date2Int((char*)"Apr 25 2006"), 60425);
    EXPECT_EQ(Date2Int((char*)"dec  1 2016"), 161201);
    EXPECT_EQ(Date2Int((char*)"Foo 1 2016"), 0);
    EXPECT_EQ(Date2Int((char*)""), 0);
    EXPECT_EQ(Date2Int(nullptr), 0);
}

} // namespace
