// One flight of a scenario in the stand-in simulator: set-up, the scripted motion of the focus
// vessel, and what the simulator shows after each step.
#pragma once

#include "scenario.h"
#include "sceneview.h"
#include "trace.h"

#include <Orbitersdk.h>

#include <memory>
#include <string>
#include <vector>

namespace hostsim {
class Session;
}

namespace skysim {

// The carrier's class and name, as the add-on creates it.
extern const char* const carrierClass;

class Flight {
public:
    Flight();
    ~Flight();
    Flight(const Flight&) = delete;
    Flight& operator=(const Flight&) = delete;

    // Sets up a fresh root tree copied from `rootTemplate` (which must hold the add-on's two
    // libraries when `withAddon`), the scenario's bodies, the focus vessel at its first waypoint and
    // the camera, and loads the add-on as a plug-in when `withAddon`. Returns false with a reason in
    // `err`; the simulator is then shut down again. Only one Flight may be active at a time: the
    // simulator is one per process.
    // With `keepRoot` the temporary root tree stays after the flight (rootDir()).
    bool begin(
        const Scenario& s, const std::string& rootTemplate, bool withAddon, std::string& err, bool keepRoot = false);

    // The message boxes the add-on showed while it loaded, as "CAPTION: TEXT"; the flight goes on after
    // them, as the host's does.
    const std::vector<std::string>& addonMessages() const { return messages_; }

    // The message boxes shown since the add-on loaded, or since the last call, in the same form: a host
    // may show one in flight, when the add-on finds it cannot carry the haze.
    std::vector<std::string> newAddonMessages();

    // The lines the add-on wrote to the host's log (oapiWriteLog) so far: those starting "skyveil".
    std::vector<std::string> addonLogLines() const;

    // The flight's own root tree, the simulator's working directory while it flies.
    const std::string& rootDir() const { return rootDir_; }

    // Flies step k (call in order from 0): puts the focus vessel where its path has it at the time
    // the step's callbacks see, aims the camera with the view in force at step k, and runs one
    // simulator step. Returns the wall time of that simulator step [us].
    double fly(int k);

    // What the simulator shows now, read from its vessels, meshes and camera (stepMinusBareUs left at 0).
    TraceRow observe(int k);

    // The scene for a picture: camera, reference body, focus vessel and every group the host would
    // draw now. Its group pointers are valid until the next fly().
    SceneView scene() const;

    // The carrier vessel now, or null.
    OBJHANDLE carrier() const;
    OBJHANDLE focus() const { return focus_; }
    OBJHANDLE body(const std::string& name) const;

    // Every drawn block vertex (81-vertex groups of the carrier's visual mesh) in global coordinates,
    // relative to the focus vessel's reference body's centre; x, y, z triples.
    std::vector<double> shellPoints() const;

    // Shuts the simulator down and removes the temporary root. Also done by the destructor.
    void end();

private:
    struct Place {
        VECTOR3 pos; // global
        VECTOR3 loc; // body frame
        bool landed;
        PathPoint point;
    };
    Place placeAt(double k, double dtAhead) const;
    void aimCamera(const PathPoint& p, int step);
    // Sets r.reanchor when carrier c stands elsewhere than after the last step, and remembers where it
    // stands now (longitude and latitude [rad] on body).
    void noteReanchor(OBJHANDLE c, double lng, double lat, OBJHANDLE body, TraceRow& r);

    Scenario scenario_;
    std::string rootDir_;
    std::vector<std::string> messages_;
    std::size_t messagesTold_ = 0; // of hostsim::messages(), those already handed out
    std::unique_ptr<hostsim::Session> session_;
    std::vector<std::pair<std::string, OBJHANDLE>> bodies_;
    OBJHANDLE focus_ = nullptr;
    OBJHANDLE lastCarrier_ = nullptr;
    double lastLng_ = 0, lastLat_ = 0;
    OBJHANDLE lastCarrierBody_ = nullptr;
};

// Whether `dir` holds modules/veilcore.dll and modules/plugin/skyveil.dll.
bool rootHasAddon(const std::string& dir);

} // namespace skysim
