// Fuzz target: the demo runner's scenario reader accepts a text or refuses it with a file, a line
// inside the text and a reason; it never crashes.
#include "scenario.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    skysim::Scenario scenario;
    skysim::ScenarioError error;
    if (skysim::parseScenario(text, "fuzz.scn", scenario, error))
        return 0;
    const long lines = 1 + std::count(text.begin(), text.end(), '\n');
    if (error.file != "fuzz.scn" || error.what.empty() || error.line < 0 || error.line > lines)
        std::abort();
    return 0;
}
