// The profiling timers over a substituted counter: rounding of ticks to microseconds, slots that
// keep their start, and the absence of a counter.
#include "timers.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

std::int64_t now;

std::int64_t counter()
{
    return now;
}

class Timers : public ::testing::Test {
protected:
    void SetUp() override
    {
        now = 0;
        timersetsource(counter, 3000000); // 3 ticks per microsecond
    }
    void TearDown() override { timersetsource(nullptr, 0); }
};

TEST_F(Timers, TicksRoundToTheNearestMicrosecond)
{
    now = 1000;
    tstart(1);
    now = 1004;
    EXPECT_EQ(telapsed(1), 1);
    now = 1005;
    EXPECT_EQ(telapsed(1), 2);
    now = 1000 + 1500000;
    EXPECT_EQ(telapsed(1), 500000);
    now = 1000;
    EXPECT_EQ(telapsed(1), 0);
}

TEST_F(Timers, HalfwayResultsRoundToEven)
{
    timersetsource(counter, 1048576); // 8192 ticks are exactly 7812.5 us
    now = 0;
    tstart(3);
    now = 8192;
    EXPECT_EQ(telapsed(3), 7812);
    now = std::int64_t {3} * 8192;
    EXPECT_EQ(telapsed(3), 23438);
}

TEST_F(Timers, ReadingDoesNotRestartTheSlotAndSlotsAreIndependent)
{
    now = 30;
    tstart(1);
    now = 60;
    tstart(98);
    now = 90;
    const std::int64_t first = telapsed(1);
    now = 120;
    const std::int64_t second = telapsed(1);
    EXPECT_EQ(first, 20);
    EXPECT_EQ(second, 30);
    EXPECT_EQ(telapsed(98), 20);
    tstart(1); // a restart measures from the new reading
    now = 123;
    EXPECT_EQ(telapsed(1), 1);
    EXPECT_EQ(telapsed(100), 41); // never started: from the counter's origin
}

TEST_F(Timers, WithoutACounterFrequencyTimeIsAlwaysUsedUp)
{
    timersetsource(counter, 0);
    tstart(1);
    EXPECT_EQ(telapsed(1), std::numeric_limits<std::int64_t>::max());
}

TEST(TimersPlatform, PlatformCounterMeasuresForwardFromTheStart)
{
    timersstart();
    tstart(7);
    const std::int64_t a = telapsed(7);
    const std::int64_t b = telapsed(7);
    EXPECT_GE(a, 0);
    EXPECT_GE(b, a);
    timersend();
}

} // namespace
