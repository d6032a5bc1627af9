// A long randomised flight of the real add-on in the stand-in simulator, for leaks and slow growth.
//
// Legs of random length fly the focus vessel between random altitudes (through 2 radii, where the
// carrier comes and goes, and through 0.5 radii, where a near camera crosses 1.5 radii), over the
// Earth, the Moon and Mars at random time accelerations, with the camera near or far; the carrier's
// visual is destroyed now and then and sometimes held back for a while (the simulator frees it
// through its group records and stops on one left on the engine's memory). The process's resident size
// is sampled; every step what the host drew for the carrier is checked as its drawing reads it.
//
//   soak [--steps N] [--seed S] [--sample K]      (SKYVEIL_ROOT_TEMPLATE names the root tree)
//
// Prints the resident size at the start, after the warm-up and at the end. Exit code 1 when a check
// failed, 2 on bad arguments or set-up.
#include <hostsim/hostsim.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

namespace {

struct Options {
    long steps = 2000000;
    unsigned seed = 1;
    long sample = 100000; // steps between two printed samples
};

bool parse(int argc, char** argv, Options* opt)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        char* end = nullptr;
        const long value = std::strtol(argv[i + 1], &end, 10);
        if (*end || value <= 0)
            return false;
        if (key == "--steps")
            opt->steps = value;
        else if (key == "--seed")
            opt->seed = static_cast<unsigned>(value);
        else if (key == "--sample")
            opt->sample = value;
        else
            return false;
    }
    return argc % 2 == 1;
}

// Resident set size of this process [KiB].
long residentKib()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// One stretch of flight over one body.
struct Leg {
    OBJHANDLE body = nullptr;
    double lng0 = 0, lat0 = 0, alt0 = 0; // start [rad, rad, radii]
    double lng1 = 0, lat1 = 0, alt1 = 0; // end
    long steps = 1;
    double warp = 1;
    double cameraDistance = 50; // [m]
};

class Flight {
public:
    explicit Flight(unsigned seed)
        : rng(seed)
    {
    }

    Leg nextLeg(OBJHANDLE current)
    {
        static const char* const names[] = {"Earth", "Moon", "Mars"};
        static const double warps[] = {1, 1, 10, 100, 1000, 10000};
        static const double cameras[] = {50, 50, 2000, 1e5, 2e6};
        Leg leg;
        leg.body = current && uniform(0, 1) > 0.3 ? current : oapiGetGbodyByName(const_cast<char*>(names[pick(3)]));
        leg.lng0 = last.lng1;
        leg.lat0 = last.lat1;
        leg.alt0 = leg.body == last.body ? last.alt1 : uniform(0.0, 2.5);
        leg.lng1 = uniform(-PI, PI);
        leg.lat1 = uniform(-1.4, 1.4);
        leg.alt1 = uniform(0, 1) < 0.3 ? uniform(0.0, 0.002) : uniform(0.0, 2.5);
        leg.steps = 50 + pick(3000);
        leg.warp = warps[pick(6)];
        leg.cameraDistance = cameras[pick(5)];
        last = leg;
        return leg;
    }

    // Puts the focus vessel at fraction t of the leg, moving along it.
    void place(OBJHANDLE ship, const Leg& leg, long i) const
    {
        const VECTOR3 p = positionAt(leg, static_cast<double>(i) / static_cast<double>(leg.steps));
        const VECTOR3 q = positionAt(leg, static_cast<double>(i + 1) / static_cast<double>(leg.steps));
        VESSELSTATUS2 status = {};
        status.version = 2;
        status.rbody = leg.body;
        status.rpos = p;
        status.rvel = (q - p) * (1.0 / (stepSeconds * leg.warp));
        hostsim::vessel(ship).iface->DefSetStateEx(&status);
    }

    long pick(int n) { return std::uniform_int_distribution<long>(0, n - 1)(rng); }
    double uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); }

    static constexpr double stepSeconds = 0.1;

private:
    // Position relative to the body: angles linear, altitude linear in log(altitude + 1 km).
    static VECTOR3 positionAt(const Leg& leg, double t)
    {
        const double radius = oapiGetSize(leg.body);
        const double a0 = std::log(leg.alt0 * radius + 1000.0);
        const double a1 = std::log(leg.alt1 * radius + 1000.0);
        const double alt = std::exp(a0 + (a1 - a0) * t) - 1000.0 + 10.0;
        VECTOR3 glob, centre;
        oapiEquToGlobal(
            leg.body, leg.lng0 + (leg.lng1 - leg.lng0) * t, leg.lat0 + (leg.lat1 - leg.lat0) * t, radius + alt, &glob);
        oapiGetGlobalPos(leg.body, &centre);
        return glob - centre;
    }

    std::mt19937 rng;
    Leg last;
};

std::vector<OBJHANDLE> liveCarriers()
{
    std::vector<OBJHANDLE> found;
    for (OBJHANDLE h : hostsim::vessels()) {
        const hostsim::VesselView v = hostsim::vessel(h);
        if (v.className == "HazeCarrier" && !v.pendingDeletion)
            found.push_back(h);
    }
    return found;
}

// What the last drawing phase did with the carriers: no index beyond its group, no null array with
// counts, no group that would cast a ground shadow, and at most one carrier drawing blocks. Every
// drawn vertex is read as the host reads it.
bool drawingSound(long step)
{
    int drawingBlocks = 0;
    for (OBJHANDLE c : liveCarriers()) {
        const hostsim::DrawStats s = hostsim::drawStats(c);
        if (s.badIndices || s.nullArrays || s.shadowGroups) {
            std::fprintf(stderr, "step %ld: %u bad indices, %u null arrays, %u shadow-casting groups\n", step,
                s.badIndices, s.nullArrays, s.shadowGroups);
            return false;
        }
        if (step % 10 == 0) {
            for (const hostsim::DrawItem& item : hostsim::drawList())
                if (item.vessel == c && item.group.nVtx == 81) {
                    ++drawingBlocks;
                    break;
                }
        }
    }
    if (drawingBlocks > 1) {
        std::fprintf(stderr, "step %ld: %d carriers draw a shell\n", step, drawingBlocks);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options opt;
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // samples show as they come, also in a log file
    const char* rootTemplate = std::getenv("SKYVEIL_ROOT_TEMPLATE");
    if (!parse(argc, argv, &opt) || !rootTemplate) {
        std::fprintf(stderr, "usage: SKYVEIL_ROOT_TEMPLATE=ROOT soak [--steps N] [--seed S] [--sample K]\n");
        return 2;
    }
    const long warmupSteps = std::min(opt.steps / 10, 100000L);
    int failures = 0;
    {
        hostsim::Session session(hostsim::makeTempRoot(rootTemplate));
        const OBJHANDLE earth = hostsim::addSolarBodies();
        const OBJHANDLE ship = hostsim::createFree("Ship", "", earth, _V(0, 4 * oapiGetSize(earth), 0), _V(0, 0, 0));
        hostsim::setFocus(ship);
        hostsim::setTimeStep(Flight::stepSeconds);
        if (!hostsim::loadPlugin("skyveil") || !hostsim::messages().empty()) {
            std::fprintf(stderr, "soak: the add-on did not load: %s\n", hostsim::lastError().c_str());
            return 2;
        }
        const long startKib = residentKib();
        long warmupKib = startKib, peakKib = startKib;
        std::printf("soak: %ld steps, seed %u\nstep %ld rss_kib %ld\n", opt.steps, opt.seed, 0L, startKib);

        Flight flight(opt.seed);
        Leg leg = flight.nextLeg(nullptr);
        long inLeg = 0, heldBack = 0, carrierSteps = 0, legs = 1, visualsDestroyed = 0, bodySwitches = 0;
        for (long step = 1; step <= opt.steps && failures == 0; ++step) {
            if (inLeg == leg.steps) {
                const OBJHANDLE before = leg.body;
                leg = flight.nextLeg(leg.body);
                inLeg = 0;
                ++legs;
                bodySwitches += leg.body != before ? 1 : 0;
            }
            flight.place(ship, leg, inLeg++);
            hostsim::setTimeAcceleration(leg.warp);
            hostsim::setCameraExternal(leg.cameraDistance);
            const std::vector<OBJHANDLE> carriers = liveCarriers();
            if (!carriers.empty() && hostsim::visualOf(carriers[0]) && flight.pick(400) == 0) {
                hostsim::destroyVisual(carriers[0]);
                ++visualsDestroyed;
            }
            if (!carriers.empty() && heldBack == 0 && flight.pick(3000) == 0) {
                heldBack = 1 + flight.pick(40);
                hostsim::destroyVisual(carriers[0]);
                ++visualsDestroyed;
                hostsim::suppressVisual(carriers[0], true);
            } else if (heldBack > 0 && --heldBack == 0) {
                for (OBJHANDLE c : carriers)
                    hostsim::suppressVisual(c, false);
            }
            hostsim::step();

            failures += drawingSound(step) ? 0 : 1;
            if (!hostsim::messages().empty()) {
                std::fprintf(stderr, "step %ld: the add-on showed a message box\n", step);
                ++failures;
            }
            carrierSteps += carriers.empty() ? 0 : 1;
            if (step % 1000 == 0 || step == warmupSteps || step == opt.steps) {
                const long kib = residentKib();
                peakKib = std::max(peakKib, kib);
                if (step == warmupSteps)
                    warmupKib = kib;
                if (step % opt.sample == 0 || step == opt.steps)
                    std::printf("step %ld rss_kib %ld\n", step, kib);
            }
        }
        std::printf("legs %ld, body switches %ld, steps with a carrier %ld, engine steps %ld, carriers created %ld, "
                    "visuals destroyed %ld\n",
            legs, bodySwitches, carrierSteps, hostsim::callCount("oapiGetFocusAirspeed"),
            hostsim::callCount("oapiCreateVesselEx"), visualsDestroyed);
        std::printf("rss_kib start %ld after_warmup(%ld steps) %ld end %ld peak %ld\n", startKib, warmupSteps,
            warmupKib, residentKib(), peakKib);
    }
    std::printf("soak: %s\n", failures ? "FAILED" : "clean");
    return failures ? 1 : 0;
}
