// oapi functions reading items of a configuration file (FILEHANDLE is the core's input stream).
#include "classfile.h"
#include "world.h"

#include <cstring>
#include <istream>

using namespace hostsim;

namespace {

std::istream* stream(FILEHANDLE f)
{
    return static_cast<std::istream*>(f);
}

} // namespace

OAPIFUNC bool oapiReadItem_string(FILEHANDLE f, char* item, char* string)
{
    HOSTSIM_COUNT("oapiReadItem_string");
    std::string value;
    if (!f || !string || !scanString(*stream(f), item, value))
        return false;
    // The host's lines hold at most 255 characters; the copy is bounded the same way.
    const std::size_t n = std::min<std::size_t>(value.size(), 255);
    std::memcpy(string, value.data(), n);
    string[n] = '\0';
    return true;
}

OAPIFUNC bool oapiReadItem_float(FILEHANDLE f, char* item, double& d)
{
    HOSTSIM_COUNT("oapiReadItem_float");
    return f && scanDouble(*stream(f), item, d);
}

OAPIFUNC bool oapiReadItem_int(FILEHANDLE f, char* item, int& i)
{
    HOSTSIM_COUNT("oapiReadItem_int");
    return f && scanInt(*stream(f), item, i);
}

OAPIFUNC bool oapiReadItem_bool(FILEHANDLE f, char* item, bool& b)
{
    HOSTSIM_COUNT("oapiReadItem_bool");
    return f && scanBool(*stream(f), item, b);
}

OAPIFUNC bool oapiReadItem_vec(FILEHANDLE f, char* item, VECTOR3& vec)
{
    HOSTSIM_COUNT("oapiReadItem_vec");
    return f && scanVector(*stream(f), item, vec);
}
