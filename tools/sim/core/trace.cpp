#include "trace.h"

#include <cstdio>

namespace skysim {

const char* traceHeader()
{
    return "step,time_s,body,altitude_m,camera_dist_radii,carrier,leaves,groups_drawn,addon_us,step_minus_bare_us,"
           "alpha_flag,haze,"
           "reanchor,shell_alt_m,shell_vertex_alt_m,shadow_groups";
}

void writeTraceRow(std::ostream& out, const TraceRow& r)
{
    char buf[512];
    char shell[32] = "", vertex[32] = "";
    if (r.hasShell)
        std::snprintf(shell, sizeof shell, "%.1f", r.shellAltitude);
    if (r.hasShellVertex)
        std::snprintf(vertex, sizeof vertex, "%.1f", r.shellVertexAltitude);
    // Body names come from the simulator; keep them from breaking the CSV.
    std::string body;
    for (char c : r.body)
        body += (c == ',' || c == '"' || c == '\n' || c == '\r') ? '_' : c;
    std::snprintf(buf, sizeof buf, "%d,%.3f,%s,%.1f,%.6f,%d,%d,%d,%.1f,%.1f,%d,%.6f,%d,%s,%s,%d\n", r.step, r.time,
        body.c_str(), r.altitude, r.cameraRadii, r.carrier ? 1 : 0, r.leaves, r.groupsDrawn, r.addonUs,
        r.stepMinusBareUs, r.alphaFlag, r.haze, r.reanchor ? 1 : 0, shell, vertex, r.shadowGroups);
    out << buf;
}

} // namespace skysim
