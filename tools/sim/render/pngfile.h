// PNG output through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skysim {

// Writes w x h RGB bytes (top row first) as an 8-bit RGB PNG. Returns false with a reason in `err`
// (the file may then be partly written). rgb.size() must be w * h * 3.
bool writePng(const std::string& path, int w, int h, const std::vector<std::uint8_t>& rgb, std::string& err);

// Reads an 8-bit RGB or RGBA PNG back as RGB bytes; for tests and tools. False on any fault.
bool readPng(const std::string& path, int& w, int& h, std::vector<std::uint8_t>& rgb);

} // namespace skysim
