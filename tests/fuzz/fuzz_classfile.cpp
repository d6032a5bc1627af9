// Fuzz target: the stand-in host's class-file reader looks up every key the host reads in any text
// without crashing, and a key it finds twice in a row gives the same value.
#include "classfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    static const char* const keys[] = {"ClassName", "Module", "EnableFocus", "Size", "ClipRadius", "Mass",
        "CameraOffset", "TouchdownPoints", "MeshName"};
    for (const char* key : keys) {
        std::string first, second;
        const bool found = hostsim::scanString(in, key, first);
        if (found != hostsim::scanString(in, key, second) || first != second)
            std::abort(); // every lookup rescans from the start
        double d = 0;
        int i = 0;
        bool b = false;
        VECTOR3 v = {{0, 0, 0}};
        hostsim::scanDouble(in, key, d);
        hostsim::scanInt(in, key, i);
        hostsim::scanBool(in, key, b);
        hostsim::scanVector(in, key, v);
    }
    return 0;
}
