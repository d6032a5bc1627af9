// The built-in scenarios, written in the scenario file format so that one reader serves all.
#include "scenario.h"

namespace skysim {

namespace {

struct Builtin {
    const char* name;
    const char* text;
};

const Builtin builtins[] = {
    {"descent", R"(skyveil-scenario 1
# From orbit at 1.6 Earth radii down to a low flight over the surface. The haze appears inside
# 1.5 radii, fades in over the next quarter radius and keeps full strength below.
name descent
bodies Earth
camera external
steps 480
step 1
timeacc 1
at 0   Earth alt 0.6R  lng -80  lat 5
at 120 Earth alt 0.45R lng -60  lat 12
at 200 Earth alt 0.2R  lng -45  lat 18
at 320 Earth alt 100km lng -32  lat 24
at 400 Earth alt 10km  lng -30  lat 25
at 479 Earth alt 2km   lng -29.8 lat 25.1
render 0 100 200 320 400
end
)"},
    {"ascent", R"(skyveil-scenario 1
# From the ground out past two Earth radii: the carrier is created on the ground and deleted once
# the altitude reaches twice the radius.
name ascent
bodies Earth
camera external
steps 300
step 1
timeacc 1
at 0   Earth landed    lng 30 lat 45
at 30  Earth landed    lng 30 lat 45
at 80  Earth alt 10km  lng 30.5 lat 45
at 200 Earth alt 1R    lng 50 lat 40
at 299 Earth alt 2.5R  lng 70 lat 35
render 0 40 80 150
end
)"},
    {"earth-to-moon", R"(skyveil-scenario 1
# A change of reference body: in Earth orbit, then in lunar orbit and down to a low pass over the
# Moon. The engine restarts for the new body and the carrier moves to it.
name earth-to-moon
bodies Earth Moon
camera external
steps 260
step 1
timeacc 1
at 0   Earth alt 0.3R  lng 0   lat 0
at 100 Earth alt 0.2R  lng 20  lat 5
at 101 Moon  alt 0.5R  lng -20 lat 0
at 259 Moon  alt 5km   lng 10  lat 8
render 50 101 180
end
)"},
};

} // namespace

const char* builtinScenarioText(const std::string& name)
{
    for (const Builtin& b : builtins) {
        if (name == b.name)
            return b.text;
    }
    return nullptr;
}

std::vector<std::string> builtinScenarioNames()
{
    std::vector<std::string> names;
    for (const Builtin& b : builtins)
        names.push_back(b.name);
    return names;
}

} // namespace skysim
