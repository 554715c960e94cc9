#include <gtest/gtest.h>

#include <sys/prctl.h>

#include <thread>

#include "platform/timer_slack.h"

namespace {

long slack_seen_by_new_thread = -1;
long slack_while_starting = -1;

int start_a_thread()
{
    slack_while_starting = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    std::thread t([] { slack_seen_by_new_thread = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0); });
    t.join();
    return 42;
}

}  // namespace

// The library's X11 thread gets its slack this way only: a thread started inside keeps the
// slack, the caller gets its own back, and what the start returned comes through.
TEST(TimerSlack, ThreadsStartedInsideKeepItTheCallerGetsItsOwnBack)
{
    ASSERT_EQ(prctl(PR_SET_TIMERSLACK, 70000UL, 0, 0, 0), 0);
    EXPECT_EQ(with_inherited_timer_slack(4000000UL, start_a_thread), 42);
    EXPECT_EQ(slack_while_starting, 4000000L);
    EXPECT_EQ(slack_seen_by_new_thread, 4000000L);
    EXPECT_EQ(prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0), 70000);

    std::thread later([] { slack_seen_by_new_thread = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0); });
    later.join();
    EXPECT_EQ(slack_seen_by_new_thread, 70000L);
    prctl(PR_SET_TIMERSLACK, 0UL, 0, 0, 0);  // back to the process's default
}
