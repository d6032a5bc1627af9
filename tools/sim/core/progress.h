// The progress line shown on a terminal during a flight.
#pragma once

#include <string>

namespace skysim {

// "[#####.....]  123/480  <note>" with a bar of `width` cells for done out of total; total >= 1.
std::string progressLine(int done, int total, int width, const std::string& note);

} // namespace skysim
