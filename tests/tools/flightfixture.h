// Shared set-up of the flight tests: the built root tree and short versions of the built-in scenarios.
#pragma once

#include "flight.h"
#include "scenario.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

inline std::string rootTemplate()
{
    const char* r = std::getenv("SKYVEIL_ROOT_TEMPLATE");
    return r ? r : "";
}

// The built-in scenario `name` squeezed into `steps` steps.
inline skysim::Scenario shortScenario(const std::string& name, int steps)
{
    skysim::Scenario s;
    skysim::ScenarioError e;
    EXPECT_TRUE(skysim::loadScenario(name, s, e)) << e.message();
    return skysim::rescaleScenario(s, steps);
}
