// A performance counter for white-box runs: every reading advances it by one microsecond, so the
// warm-up burst and the refinement budgets end after a fixed amount of work, not of wall-clock time.
#pragma once

#include "timers.h"

#include <cstdint>

inline std::int64_t fakeclockticks = 0;

inline std::int64_t fakeclock()
{
    return ++fakeclockticks;
}

inline void usefakeclock()
{
    fakeclockticks = 0;
    timersetsource(fakeclock, 1000000);
}
