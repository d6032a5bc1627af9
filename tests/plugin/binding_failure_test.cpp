// Engine libraries that cannot be bound: one message box each, no carrier ever, and a carrier that a
// scenario brought along deletes itself. A host of a later generation and a root without the carrier's
// files get one message too; a host below that limit and a root that merely cannot be written bind as
// always.
#include "pluginharness.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <chrono>
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

// A sound engine in a host or root the plug-in cannot serve: one message, no carrier ever asked for.
struct Refusal {
    const char* name;
    int version; // what the host reports
    void (*prepare)();
    const char* text;
    bool engineLoaded;
};

const Refusal refusals[] = {
    {"HostOf2016", 160000, leaveRootAsItIs,
        "Haze carrier: simulator version 160000 is not supported. This add-on is written for the 2006 edition.", false},
    {"BothFilesUnwritable", 60929, blockBothFiles,
        "Haze carrier: meshes\\hazeves.msh is missing and could not be written. Check that the simulator's folder "
        "can be written.",
        true},
    {"ClassFileUnwritable", 60929, blockClassFile,
        "Haze carrier: config\\vessels\\HazeCarrier.cfg is missing and could not be written. Check that the "
        "simulator's folder can be written.",
        true},
};

void PrintTo(const Refusal& refusal, std::ostream* os)
{
    *os << refusal.name;
}

class Refused : public testing::TestWithParam<Refusal> { };

// Hosts and roots in which the plug-in binds and flies as it always did, without a word.
struct Acceptance {
    const char* name;
    int version;
    void (*prepare)();
};

const Acceptance acceptances[] = {
    {"LastVersionBelowTheLimit", 159999, leaveRootAsItIs},
    {"EarlierFilesInARootThatCannotBeWritten", 60929, earlierFilesThatCannotBeReplaced},
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
    refusal.prepare();
    ASSERT_NE(scene.loadPlugin(), nullptr);

    ASSERT_EQ(hostsim::messages().size(), 1u);
    EXPECT_EQ(hostsim::messages()[0].caption, "Error!");
    EXPECT_EQ(hostsim::messages()[0].text, refusal.text);
    EXPECT_EQ(hostsim::messages()[0].type, MB_OK);
    EXPECT_EQ(engineLoaded(), refusal.engineLoaded);
    if (!refusal.engineLoaded) {
        // No engine, so no installer: nothing was written in the root.
        EXPECT_FALSE(fs::exists(meshFile));
        EXPECT_FALSE(fs::exists(classFile));
    }

    scene.placeShip(scene.earth, 0.3, 0.5, 2000.0);
    hostsim::step(6);
    EXPECT_EQ(hostsim::callCount("oapiCreateVesselEx"), 0);
    EXPECT_TRUE(carriers().empty());
    EXPECT_EQ(hostsim::messages().size(), 1u);
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
