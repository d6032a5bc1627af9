// Reader of the host's mesh text format (MSHX1): groups with their keywords and geometry,
// materials and textures. CR LF line ends are accepted.
#pragma once

#include "world.h"

#include <memory>
#include <string>

namespace hostsim {

// Parses mesh text. `label` names the source in errors. Returns the mesh, or null with `error` set
// to "<label>:<line>: <what is wrong>". Never throws; malformed input of any kind gives an error.
std::unique_ptr<Mesh> parseMeshText(const std::string& text, const std::string& label, std::string& error);

// Reads and parses the file at path (error "<path>: cannot open" if it cannot be read).
std::unique_ptr<Mesh> parseMeshPath(const std::string& path, std::string& error);

} // namespace hostsim
