#include "timers.h"

#include <windows.h>

#include <cmath>
#include <limits>

namespace {

std::int64_t startstamp[timerslots];
std::int64_t stopstamp[timerslots];
std::int64_t frequency;
timercounterfn counter;

std::int64_t platformcounter()
{
    LARGE_INTEGER now;
    now.QuadPart = 0;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

std::int64_t platformfrequency()
{
    LARGE_INTEGER f;
    f.QuadPart = 0;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
}

} // namespace

void timersstart()
{
    counter = platformcounter;
    frequency = platformfrequency();
}

void timersend() { }

void timersetsource(timercounterfn source, std::int64_t ticksPerSecond)
{
    if (source) {
        counter = source;
        frequency = ticksPerSecond;
    } else {
        timersstart();
    }
}

void tstart(int slot)
{
    startstamp[slot] = counter ? counter() : platformcounter();
}

std::int64_t telapsed(int slot)
{
    stopstamp[slot] = counter ? counter() : platformcounter();
    if (frequency <= 0)
        return std::numeric_limits<std::int64_t>::max();
    // Wrapping subtraction: a counter that jumps backwards must not overflow.
    const std::int64_t ticks = static_cast<std::int64_t>(
        static_cast<std::uint64_t>(stopstamp[slot]) - static_cast<std::uint64_t>(startstamp[slot]));
    const double seconds = static_cast<double>(ticks) / static_cast<double>(frequency);
    const double micro = seconds * 1000000.0;
    // Beyond the range of a 64-bit integer the conversion is undefined; such spans never occur
    // within a budget, so they saturate.
    if (!(micro < 9.2e18))
        return std::numeric_limits<std::int64_t>::max();
    if (micro < -9.2e18)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(std::nearbyint(micro)); // default rounding: half to even
}
