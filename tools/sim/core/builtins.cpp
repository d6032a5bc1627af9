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
# From orbit at 1.6 Earth radii down to a flight under the haze layer. The haze appears inside
# 1.5 radii, fades in over the next quarter radius and keeps full strength below. Down to 1.2 radii
# the camera looks straight down at the whole disk, the Sun off to the west; then it looks along the
# flight over land, the horizon in view: a minute of cruise at 15 km, over the layer 10 km up, then
# down to 3 km, under it, where the host draws nothing of the shell (only its outward side is drawn).
name descent
bodies Earth
camera external
steps 480
step 1
timeacc 1
at 0   Earth alt 0.6R  lng -42  lat 10
at 150 Earth alt 0.3R  lng -44  lat 14
at 220 Earth alt 0.2R  lng -47  lat 19
at 320 Earth alt 100km lng -58  lat 30
at 380 Earth alt 15km  lng -55.5 lat 34.5
at 440 Earth alt 15km  lng -55.2 lat 34.8
at 479 Earth alt 3km   lng -54.8 lat 35
view 0   planet  110
view 221 horizon 40
render 0 62 150 220 320 420 479
end
)"},
    {"ascent", R"(skyveil-scenario 1
# From the ground out past two Earth radii: the carrier is created on the ground and deleted once
# the altitude reaches twice the radius. On the day side: the Sun stands over longitude -100.
name ascent
bodies Earth
camera external
steps 300
step 1
timeacc 1
at 0   Earth landed    lng -70 lat 30
at 30  Earth landed    lng -70 lat 30
at 80  Earth alt 10km  lng -69.5 lat 30
at 200 Earth alt 1R    lng -55 lat 25
at 299 Earth alt 2.5R  lng -40 lat 20
render 0 40 80 150
end
)"},
    {"dusk", R"(skyveil-scenario 1
# Across the terminator into the night at one height, 15 km, over the layer, the camera looking west
# towards the Sun (before each picture the vessel drifts slowly back). The host lights the whole
# carrier with one Sun colour taken at its origin, 10 km over the ground under the vessel, and that
# light reaches the shell through its normals. By day, the Sun high over the sea, the haze is lit. At
# dusk the Sun has set on the ground below and is setting for the carrier: its light is reddened and
# weak and comes from under the shell's horizon, so the veil shows only as a grey sheen of the
# atmosphere's ambient light. At night it has the faint ambient light alone and all but vanishes. The
# Sun stands over longitude -100, near latitude -23 (January).
name dusk
bodies Earth
camera external
steps 480
step 1
timeacc 1
at 0   Earth alt 15km lng -100    lat -20
at 60  Earth alt 15km lng -100.02 lat -20
at 200 Earth alt 15km lng -8      lat -20
at 260 Earth alt 15km lng -8.02   lat -20
at 420 Earth alt 15km lng 40      lat -20
at 479 Earth alt 15km lng 39.98   lat -20
view 0 horizon 40
render 59 259 479
end
)"},
    {"earth-to-moon", R"(skyveil-scenario 1
# A change of reference body: in Earth orbit, then in lunar orbit and down to a low pass over the
# Moon. The engine restarts for the new body and the carrier moves to it. On the day side of both:
# the Sun stands over longitude -100 of the Earth and 55 of the Moon.
name earth-to-moon
bodies Earth Moon
camera external
steps 260
step 1
timeacc 1
at 0   Earth alt 0.3R  lng -80 lat 0
at 100 Earth alt 0.2R  lng -60 lat 5
at 101 Moon  alt 0.5R  lng 20  lat 0
at 259 Moon  alt 5km   lng 45  lat 8
render 50 101 180
end
)"},
    {"low-pass", R"(skyveil-scenario 1
# Low over the sea by day, 12 km up, 2 km over the shell's vertices, flying east from where the
# tessellation warmed up. The blocks over the vessel stay coarse, and the host draws each of their
# triangles flat between vertices 10 km up: along the horizon the veil shows as straight facet edges,
# and straight overhead the facet sags to between 6 and 10 km. The camera looks along the horizon with
# a narrow field of view.
name low-pass
bodies Earth
camera external
steps 300
step 1
timeacc 1
at 0   Earth alt 12km lng -100 lat -20
at 299 Earth alt 12km lng -40  lat -20
view 0 horizon 20
render 40 160
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
