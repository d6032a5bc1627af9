// Orbiter.exe for Windows: flies a scenario in the stand-in simulator with the add-on's Windows
// binaries, as skyveil-sim does on Linux but without pictures, and writes the same trace and summary.
#include "scenariorun.h"

#include <exception>
#include <io.h>
#include <iostream>

#ifndef SKYVEIL_SIM_ROOT
#define SKYVEIL_SIM_ROOT "root"
#endif

int main(int argc, char** argv)
{
    skysim::Options opt;
    std::string complaint;
    if (!skysim::parseOptions(argc, argv, opt, complaint)) {
        std::cerr << "Orbiter: " << complaint << "\n";
        return 2;
    }
    opt.noRender = true;
    try {
        return skysim::runScenario(opt, SKYVEIL_SIM_ROOT, _isatty(_fileno(stdout)) != 0, nullptr, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "Orbiter: " << e.what() << "\n";
        return 1;
    }
}
