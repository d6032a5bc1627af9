// Engine libraries that cannot be bound: one message box each, no carrier ever, and a carrier that a
// scenario brought along deletes itself. A root without the carrier's files, a host that cannot place
// the carrier and a host that draws through a graphics client get one message too; the hosts that can
// carry the haze and a root that merely cannot be written bind and fly as always.
#include "pluginharness.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Failure {
    Engine engine;
    const char* text;
    const char* name;
};

const Failure failures[] = {
    {Engine::Missing, "modules\\veilcore.dll not found. Check installation.", "LibraryMissing"},
    {Engine::WithoutInitint, "Haze carrier interface error. Check installation for version mix-up.", "InitintMissing"},
    {Engine::WithoutMaincall, "Haze carrier interface error. Check installation for version mix-up.",
        "MaincallMissing"},
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const Failure& failure, std::ostream* os)
{
    *os << failure.name;
}

class BindingFailure : public testing::TestWithParam<Failure> { };

} // namespace

TEST_P(BindingFailure, OneMessageBoxNoCarrierAndAScenarioCarrierDeletesItself)
{
    const Failure& failure = GetParam();
    Scene scene(failure.engine);

    // A carrier from the scenario: creating it loads skyveil as its vessel module, whose attach glue
    // runs InitModule and fails to bind.
    const OBJHANDLE old = hostsim::createLanded("OldCarrier", "HazeCarrier", scene.earth, 0.1, 0.2);
    ASSERT_NE(old, nullptr);
    ASSERT_TRUE(hostsim::vessel(old).fromModule);
    ASSERT_NE(scene.loadPlugin(), nullptr);

    ASSERT_EQ(hostsim::messages().size(), 1u);
    EXPECT_EQ(hostsim::messages()[0].caption, "Error!");
    EXPECT_EQ(hostsim::messages()[0].text, failure.text);
    EXPECT_EQ(hostsim::messages()[0].type, MB_OK);

    scene.placeShip(scene.earth, 0.3, 0.5, 2000.0);
    for (int i = 0; i < 6; ++i) {
        hostsim::step();
        EXPECT_EQ(hostsim::vesselByName("TheHazeCarrier"), nullptr);
    }
    EXPECT_FALSE(hostsim::isVessel(old));
    EXPECT_TRUE(carriers().empty());
    EXPECT_EQ(hostsim::messages().size(), 1u);

    // A library that loaded stays loaded; initint ran only where it exists.
    ProbeLog* log = probe();
    if (failure.engine == Engine::Missing) {
        EXPECT_EQ(log, nullptr);
    } else {
        ASSERT_NE(log, nullptr);
        EXPECT_EQ(log->initCalls, failure.engine == Engine::WithoutMaincall ? 1 : 0);
        EXPECT_EQ(log->calls, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, BindingFailure, testing::ValuesIn(failures),
    [](const testing::TestParamInfo<Failure>& p) { return std::string(p.param.name); });

namespace {

namespace fs = std::filesystem;

const char meshFile[] = "meshes/hazeves.msh";
const char classFile[] = "config/vessels/HazeCarrier.cfg";

// What is done to the root (the working directory) before the plug-in loads.
void leaveRootAsItIs() { }

// Neither file can be written, whoever runs the test: a plain file where the mesh folder belongs, a
// folder where the class file belongs.
void blockBothFiles()
{
    fs::remove_all("meshes");
    std::ofstream("meshes") << "not a folder";
    fs::create_directories(classFile);
}

void blockClassFile()
{
    fs::create_directories(classFile);
}

// The files of an earlier run, which the installer then cannot replace: it writes each through a
// temporary file beside it, and a folder of that name stops it, whoever runs the test. The files are
// dated back so that a rewrite would show.
void earlierFilesThatCannotBeReplaced()
{
    HMODULE core = LoadLibraryA("modules\\veilcore.dll");
    ASSERT_NE(core, nullptr);
    FreeLibrary(core);
    for (const char* file : {meshFile, classFile}) {
        ASSERT_TRUE(fs::is_regular_file(file)) << file;
        fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(48));
        fs::create_directory(std::string(file) + ".tmp");
    }
}

bool engineLoaded()
{
    void* lib = dlopen("modules/veilcore.dll", RTLD_NOW | RTLD_NOLOAD);
    if (lib)
        dlclose(lib); // RTLD_NOLOAD took a reference of its own
    return lib != nullptr;
}

// A sound engine in a host or root the plug-in cannot serve: one message, and no carrier after it.
struct Refusal {
    const char* name;
    int version; // what the host reports
    bool graphicsClient;
    void (*prepare)();
    const char* text; // the message, or its beginning where it ends in a measured figure
    long carriersAskedFor; // before the host showed it cannot carry the haze
};

const Refusal refusals[] = {
    // The 2010 generation places every landed record by its touchdown points: the carrier 10 km under
    // the ground whichever record it is sent.
    {"HostOf2010", 100830, false, leaveRootAsItIs,
        "Haze carrier: simulator version 100830 did not place the carrier where the haze belongs (it stood ", 1},
    {"GraphicsClient", 160828, true, leaveRootAsItIs,
        "Haze carrier: this simulator draws through a graphics client, which gives add-ons no mesh to edit. The haze "
        "needs the simulator's built-in graphics: start Orbiter.exe (Orbiter 2016, or the 2024 x86 package) instead "
        "of Orbiter_ng.exe.",
        1},
    {"BothFilesUnwritable", 60929, false, blockBothFiles,
        "Haze carrier: meshes\\hazeves.msh is missing and could not be written. Check that the simulator's folder "
        "can be written.",
        0},
    {"ClassFileUnwritable", 60929, false, blockClassFile,
        "Haze carrier: config\\vessels\\HazeCarrier.cfg is missing and could not be written. Check that the "
        "simulator's folder can be written.",
        0},
};

void PrintTo(const Refusal& refusal, std::ostream* os)
{
    *os << refusal.name;
}

class Refused : public testing::TestWithParam<Refusal> { };

// Hosts and roots in which the plug-in binds and flies, without a word but one line in the host's log.
struct Acceptance {
    const char* name;
    int version;
    void (*prepare)();
    const char* record; // the placement record the log names
};

const Acceptance acceptances[] = {
    {"Edition2006", 60424, leaveRootAsItIs, "2006"},
    {"Orbiter2016", 160828, leaveRootAsItIs, "2016"},
    {"Orbiter2024", 241231, leaveRootAsItIs, "2016"},
    {"EarlierFilesInARootThatCannotBeWritten", 60929, earlierFilesThatCannotBeReplaced, "2006"},
};

void PrintTo(const Acceptance& acceptance, std::ostream* os)
{
    *os << acceptance.name;
}

class Accepted : public testing::TestWithParam<Acceptance> { };

} // namespace

TEST_P(Refused, OneMessageNoCarrierAskedFor)
{
    const Refusal& refusal = GetParam();
    Scene scene(Engine::Real);
    hostsim::setOrbiterVersion(refusal.version);
    if (refusal.graphicsClient) {
        ASSERT_TRUE(hostsim::setGraphicsClient(true));
    }
    refusal.prepare();
    ASSERT_NE(scene.loadPlugin(), nullptr);
    EXPECT_EQ(hostsim::messages().size(), refusal.carriersAskedFor ? 0u : 1u);

    // Low over the ground for a while, then once more after a climb past two radii and back.
    scene.placeShip(scene.earth, 0.3, 0.5, 2000.0);
    hostsim::step(6);
    scene.placeShip(scene.earth, 0.3, 0.5, 3.0 * oapiGetSize(scene.earth));
    hostsim::step(2);
    scene.placeShip(scene.earth, 0.3, 0.5, 2000.0);
    hostsim::step(4);
    ASSERT_EQ(hostsim::messages().size(), 1u);
    EXPECT_EQ(hostsim::messages()[0].caption, "Error!");
    EXPECT_EQ(hostsim::messages()[0].text.substr(0, std::strlen(refusal.text)), refusal.text);
    EXPECT_EQ(hostsim::messages()[0].type, MB_OK);
    EXPECT_TRUE(engineLoaded());

    EXPECT_EQ(hostsim::callCount("oapiCreateVesselEx"), refusal.carriersAskedFor);
    EXPECT_TRUE(carriers().empty());
    EXPECT_EQ(hostsim::vessels().size(), 1u) << "only the ship is left";
    // The engine never ran: it would have asked for the focus vessel's airspeed.
    EXPECT_EQ(hostsim::callCount("oapiGetFocusAirspeed"), 0);
}

INSTANTIATE_TEST_SUITE_P(HostsAndRoots, Refused, testing::ValuesIn(refusals),
    [](const testing::TestParamInfo<Refusal>& p) { return std::string(p.param.name); });

TEST_P(Accepted, NoMessageAndTheCarrierFlies)
{
    const Acceptance& acceptance = GetParam();
    Scene scene(Engine::Real);
    hostsim::setOrbiterVersion(acceptance.version);
    acceptance.prepare();
    if (HasFatalFailure())
        return;
    // Files present before the plug-in loads must come out of the installer's failure untouched.
    std::vector<std::pair<const char*, fs::file_time_type>> earlier;
    for (const char* file : {meshFile, classFile}) {
        if (fs::exists(file))
            earlier.emplace_back(file, fs::last_write_time(file));
    }
    ASSERT_NE(scene.loadPlugin(), nullptr);
    EXPECT_TRUE(hostsim::messages().empty());
    const std::string bound = ": engine bound on simulator version " + std::to_string(acceptance.version)
        + "; the carrier is placed with the " + acceptance.record + " record, checked after every placement";
    int boundLines = 0;
    for (const std::string& line : hostsim::logLines())
        boundLines += line.rfind("skyveil ", 0) == 0 && line.find(bound) != std::string::npos;
    EXPECT_EQ(boundLines, 1) << bound;
    for (const auto& file : earlier)
        EXPECT_EQ(fs::last_write_time(file.first), file.second) << file.first << " was rewritten";

    scene.placeShip(scene.earth, 0.3, 0.5, 2000.0);
    hostsim::step(4);
    ASSERT_EQ(carriers().size(), 1u);
    EXPECT_GT(hostsim::callCount("oapiGetFocusAirspeed"), 0); // the engine's maincall ran
    EXPECT_GT(hostsim::drawStats(carriers()[0]).groups, 0u);
    EXPECT_EQ(hostsim::callCount("oapiCreateVesselEx"), 1);
    EXPECT_TRUE(hostsim::messages().empty());
}

INSTANTIATE_TEST_SUITE_P(HostsAndRoots, Accepted, testing::ValuesIn(acceptances),
    [](const testing::TestParamInfo<Acceptance>& p) { return std::string(p.param.name); });
