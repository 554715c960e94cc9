#include <gtest/gtest.h>

#include <time.h>

#include "shell/globals.h"
#include "support/fakes.h"

namespace {

long ns_between(const timespec &a, const timespec &b)
{
    return (b.tv_sec - a.tv_sec) * 1000000000L + (b.tv_nsec - a.tv_nsec);
}

}  // namespace

// The ticks fall due 10 ms apart whatever the frames cost; after a long stop (a dialog, a
// stopped process) the schedule starts again from now instead of racing through the missed
// ticks.
TEST(FrameClock, KeepsItsScheduleAndStartsAnewAfterAPause)
{
    fake::reset();
    fake::deadline_passes = true;
    teh_counter = 10;
    for (int i = 0; i < 3; i++)
        wait_tick();
    EXPECT_EQ(teh_counter, 7);
    ASSERT_EQ(fake::wait_deadlines.size(), 3u);
    EXPECT_EQ(ns_between(fake::wait_deadlines[0], fake::wait_deadlines[1]), 10000000L);
    EXPECT_EQ(ns_between(fake::wait_deadlines[1], fake::wait_deadlines[2]), 10000000L);

    const timespec pause = {0, 100000000L};  // ten ticks missed
    nanosleep(&pause, nullptr);
    timespec before;
    clock_gettime(CLOCK_MONOTONIC, &before);
    wait_tick();
    timespec after;
    clock_gettime(CLOCK_MONOTONIC, &after);
    // One tick from the moment of the wait: not one of the missed ticks, long past.
    EXPECT_GE(ns_between(before, fake::wait_deadlines[3]), 10000000L);
    EXPECT_LE(ns_between(after, fake::wait_deadlines[3]), 10000000L);
    EXPECT_EQ(teh_counter, 6);
    fake::reset();
}
