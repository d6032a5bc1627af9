// skyveil-sim: flies a scenario in the stand-in simulator with the skyveil add-on and shows what the
// host would draw. Usage in --help and README.md.
#include "options.h"
#include "demo.h"

#include <exception>
#include <iostream>
#include <unistd.h>

#ifndef SKYVEIL_SIM_ROOT
#define SKYVEIL_SIM_ROOT "root"
#endif

int main(int argc, char** argv)
{
    skysim::Options opt;
    std::string complaint;
    if (!skysim::parseOptions(argc, argv, opt, complaint)) {
        std::cerr << "skyveil-sim: " << complaint << "\n";
        return 2;
    }
    try {
        return skysim::runDemo(opt, SKYVEIL_SIM_ROOT, isatty(STDOUT_FILENO) != 0, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "skyveil-sim: " << e.what() << "\n";
        return 1;
    }
}
