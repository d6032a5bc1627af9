// The flight trace: one row per simulation step, written as CSV.
#pragma once

#include <ostream>
#include <string>

namespace skysim {

// What one step showed. Each field is read from the stand-in simulator, never from the engine.
struct TraceRow {
    int step = 0;
    double time = 0; // simulation time after the step [s]
    std::string body; // the focus vessel's reference body
    double altitude = 0; // the focus vessel's altitude over the mean radius [m]
    double cameraRadii = 0; // camera distance from the body's centre [body radii]
    bool carrier = false; // a vessel of class HazeCarrier exists after the step
    int leaves = 0; // distinct block vertex arrays among the groups (leaf blocks shown, at most 1023)
    int groupsDrawn = 0; // groups holding a block (81 vertices); the rest hold the placeholder
    double addonUs = 0; // wall time inside the add-on's callbacks during the step, as the simulator measured it [us]
    double stepMinusBareUs = 0; // the simulator step's wall time less the median bare step's (drawing included) [us]
    int alphaFlag = -1; // the carrier mesh's alpha-modulation property, -1 without a carrier
    double haze = 0; // the material's ambient alpha while blocks are drawn, else 0
    bool reanchor = false; // the carrier was moved to a new ground position during the step (a re-anchoring
                           // in place shows no move and is not counted)
    double shellAltitude = 0; // height over the ground of the drawn shell straight over the focus vessel:
                              // the outermost crossing of the ray from the body's centre through the
                              // vessel with the carrier's drawn triangles [m]
    bool hasShell = false; // shellAltitude is valid (the ray crosses a drawn triangle)
    double shellVertexAltitude = 0; // height over the ground of the drawn block vertex nearest overhead [m]
    bool hasShellVertex = false; // shellVertexAltitude is valid (blocks drawn)
    int shadowGroups = 0; // the carrier's drawn groups that the host would cast as a ground shadow (no
                          // "no shadow" user flag); must stay 0
};

// The CSV header line, without the newline.
const char* traceHeader();

// Writes one row as a CSV line with its newline. Numbers in plain decimal, booleans as 0/1, an
// unknown shell height as an empty field.
void writeTraceRow(std::ostream& out, const TraceRow& row);

} // namespace skysim
