// Vessel state records and the host's default scenario lines for a vessel.
#pragma once

#include "vessel.h"

#include <iosfwd>

namespace hostsim {

// Fills a VESSELSTATUS2 (version 2) the way the host's GetStatusEx does: status 1 landed (surf_lng,
// surf_lat, surf_hdg; vrot.x = height over the ground and arot = Euler angles against the body frame
// where the generation reports them so, else as in flight), otherwise 0
// with rpos/rvel relative to the reference body, arot against the global frame and vrot. Requested
// lists: the stand-in's vessels have no tanks, thrusters or docks, so counts are 0.
void fillStatus2(const Vessel& v, VESSELSTATUS2& st);

// Fills the old VESSELSTATUS the same way (landed: vdata[0] = (lng, lat, hdg)).
void fillStatus1(const Vessel& v, VESSELSTATUS& st);

// Reads one default scenario line ("STATUS Landed Earth", "POS lng lat" in degrees, "HEADING",
// "ALT", "AROT", "RPOS", "RVEL", "VROT") into the record; other lines are ignored.
void parseScenarioLine(const char* line, VESSELSTATUS2& st);

// Writes the host's default vessel lines to a scenario stream (a landed vessel's AROT, its rotation
// against the planet frame, only in the generations that write it).
void writeDefaultState(const Vessel& v, std::ostream& out);

} // namespace hostsim
