#include <gtest/gtest.h>

#include <time.h>

#include <thread>

#include "platform/globals.h"
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

    // Ten ticks missed: a pause until 100 ms past the last deadline (which earlier tests in the
    // same process, whose waits pass at once, may have put ahead of the real time).
    timespec resume = fake::wait_deadlines[2];
    resume.tv_nsec += 100000000L;
    if (resume.tv_nsec >= 1000000000L) {
        resume.tv_sec++;
        resume.tv_nsec -= 1000000000L;
    }
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &resume, nullptr);
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

// The dialog manager's pace. A wake-up by input is followed by one round that does not sleep,
// because the library asks for the buttons again before it draws what they did (a button shows
// itself pressed only then). Its double-click timer asks from the timer thread every 20 ms
// after a click: that call must neither sleep nor take the main thread's wake-up.
TEST(FrameClock, DialogWaitsFollowInputAtOnceAndOnlyOnTheMainThread)
{
    fake::deadline_passes = true;
    wait_input(50);  // a free round an earlier test left behind, if any
    wait_input(50);
    fake::reset();
    fake::deadline_passes = true;
    wait_input(50);  // a wait that runs out leaves no free round behind
    wait_input(50);
    EXPECT_EQ(fake::wait_deadlines.size(), 2u);

    fake::deadline_passes = false;  // from here each wait is ended by input
    wait_input(50);
    EXPECT_EQ(fake::wait_deadlines.size(), 3u);
    wait_input(50);  // the round after the press
    EXPECT_EQ(fake::wait_deadlines.size(), 3u);
    std::thread timer_thread([] { wait_input(50); });
    timer_thread.join();
    EXPECT_EQ(fake::wait_deadlines.size(), 3u);
    wait_input(50);
    EXPECT_EQ(fake::wait_deadlines.size(), 4u);
    fake::deadline_passes = true;
    wait_input(50);  // the free round after that wake-up
    fake::reset();
}
