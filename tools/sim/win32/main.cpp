// Orbiter.exe for Windows: flies a scenario in the stand-in simulator with the add-on's Windows
// binaries, as skyveil-sim does on Linux but without pictures, and writes the same trace and summary.
#include "scenariorun.h"

#include <io.h>
#include <iostream>

#ifndef SKYVEIL_SIM_ROOT
#define SKYVEIL_SIM_ROOT "root"
#endif

int main(int argc, char** argv)
{
    return skysim::runCommandLine(argc, argv, "Orbiter", std::cerr, [](skysim::Options& opt) {
        opt.noRender = true;
        return skysim::runScenario(opt, SKYVEIL_SIM_ROOT, _isatty(_fileno(stdout)) != 0, nullptr, std::cout, std::cerr);
    });
}
