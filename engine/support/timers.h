// Profiling timers: 101 numbered slots of microsecond wall-clock time over the performance counter.
//
// Slots are process-wide and unguarded; only the host's simulation thread uses them. The engine reads
// slot 1 (refinement budgets) and slot 98 (warm-up burst).
#pragma once

#include <cstdint>

constexpr int timerslots = 101;

// Reads a counter reading; the default is QueryPerformanceCounter.
typedef std::int64_t (*timercounterfn)();

// Unit start: reads the counter frequency once. Unit end: nothing to release.
void timersstart();
void timersend();

// Restarts a slot (0..100; not validated).
void tstart(int slot);

// Microseconds since the slot's start: (stop - start) / frequency * 1e6, rounded half to even.
// Does not restart the slot. With a frequency of 0 or less (no high-resolution counter) time counts
// as used up: the result is INT64_MAX, so every budget ends at once and no loop waits for time.
std::int64_t telapsed(int slot);

// Substitutes the counter source and frequency (tests and benchmarks); null restores the platform
// counter and re-reads its frequency.
void timersetsource(timercounterfn counter, std::int64_t frequency);
