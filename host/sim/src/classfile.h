// Vessel class files (config/vessels/CLASS.cfg, then config/CLASS.cfg): "Key = Value" lines,
// keys without regard to case, ';' comments, END_PARSE ends the search. Every lookup scans from
// the start, as the host's reader does.
#pragma once

#include <Orbitersdk.h>

#include <istream>
#include <string>

namespace hostsim {

// Local path of the class file for className, or "" if neither location has one.
std::string findClassFile(const std::string& className);

// Looks up item in a class-file stream (rewound first); value receives the trimmed text after '='.
bool scanItem(std::istream& in, const char* item, std::string& value);

// Convenience readers over scanItem. Booleans: values beginning with "true"/"false" (any case).
bool scanString(std::istream& in, const char* item, std::string& value);
bool scanDouble(std::istream& in, const char* item, double& value);
bool scanInt(std::istream& in, const char* item, int& value);
bool scanBool(std::istream& in, const char* item, bool& value);
bool scanVector(std::istream& in, const char* item, VECTOR3& value);

} // namespace hostsim
