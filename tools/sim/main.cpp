// skyveil-sim: flies a scenario in the stand-in simulator with the skyveil add-on and shows what the
// host would draw. Usage in --help and README.md.
#include "demo.h"
#include "options.h"

#include <iostream>
#include <unistd.h>

#ifndef SKYVEIL_SIM_ROOT
#define SKYVEIL_SIM_ROOT "root"
#endif

int main(int argc, char** argv)
{
    return skysim::runCommandLine(argc, argv, "skyveil-sim", std::cerr, [](skysim::Options& opt) {
        return skysim::runDemo(opt, SKYVEIL_SIM_ROOT, isatty(STDOUT_FILENO) != 0, std::cout, std::cerr);
    });
}
