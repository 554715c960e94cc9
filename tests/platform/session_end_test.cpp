#include "platform/session_end.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <csignal>
#include <deque>
#include <string>

#include "platform/globals.h"
#include "support/fakes.h"

namespace {

// A logout's signal only marks the end; each wait then presses Esc for the screen in front,
// one at a time, and none sleeps.
TEST(SessionEnd, ASignalPressesEscThroughTheWaitsOneScreenAtATime)
{
    fake::reset();
    catch_end_signals();
    for (int number : {SIGTERM, SIGINT, SIGQUIT, SIGHUP}) {
        end_signal = 0;
        ASSERT_EQ(raise(number), 0);  // the process lives on
        EXPECT_EQ(end_signal, number);
    }
    const int esc = (KEY_ESC << 8) | 27;
    wait_input(50);
    EXPECT_TRUE(close_requested);
    EXPECT_EQ(fake::keys, std::deque<int>{esc});
    wait_input(50);  // the first Esc not yet read: no second
    EXPECT_EQ(fake::keys, std::deque<int>{esc});
    fake::keys.clear();  // a dialog took it and closed; an alert comes up after it
    wait_input(50);
    EXPECT_EQ(fake::keys, std::deque<int>{esc});
    EXPECT_TRUE(fake::wait_deadlines.empty());

    for (int number : {SIGTERM, SIGINT, SIGQUIT, SIGHUP})
        std::signal(number, SIG_DFL);
    end_signal = 0;
    close_requested = false;
    fake::reset();
}

TEST(SessionEnd, SaversRunNewestFirstForAsLongAsTheyLive)
{
    std::string order;
    end_saver settings([&] { order += "s"; });
    {
        end_saver editor([&] { order += "e"; });
        end_saver panel([&] { order += "p"; });
        run_end_savers();
        EXPECT_EQ(order, "pes");
    }
    order.clear();
    run_end_savers();
    EXPECT_EQ(order, "s");
}

}  // namespace
