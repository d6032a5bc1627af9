// Engine libraries that cannot be bound: one message box each, no carrier ever, and a carrier that a
// scenario brought along deletes itself.
#include "pluginharness.h"

#include <gtest/gtest.h>

#include <ostream>

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
