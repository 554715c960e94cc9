#include "platform/session_end.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <deque>
#include <string>

#include "platform/globals.h"
#include "support/fakes.h"

namespace {

// The default handlers back, and the game no longer ending.
void forget_the_end()
{
    for (int number : {SIGTERM, SIGINT, SIGQUIT, SIGHUP})
        std::signal(number, SIG_DFL);
    end_signal = 0;
    close_requested = false;
    fake::reset();
}

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
    forget_the_end();
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

// The X server may not answer once the session ends: what must be kept is written at the first
// wait after the signal, before its Esc and before anything is drawn, and each saver only once
// however many waits and ways of ending follow. A saver made after that runs at the next call.
TEST(SessionEnd, TheFirstWaitAfterASignalSavesOnceBeforeItsEsc)
{
    fake::reset();
    catch_end_signals();
    std::string order;
    bool esc_before_save = false;
    end_saver settings([&] { order += "s"; });
    {
        end_saver editor([&] {
            order += "e";
            esc_before_save = !fake::keys.empty();
        });
        ASSERT_EQ(raise(SIGTERM), 0);
        EXPECT_EQ(order, "");  // the handler itself writes nothing
        wait_input(50);
        EXPECT_EQ(order, "es");
        EXPECT_FALSE(esc_before_save);
        EXPECT_EQ(fake::keys, std::deque<int>{(KEY_ESC << 8) | 27});
        wait_input(50);
        wait_tick();
        save_before_end();  // as the thread that finds the X server gone
        EXPECT_EQ(order, "es");
        end_saver panel([&] { order += "p"; });
        save_before_end();
        EXPECT_EQ(order, "esp");
    }
    forget_the_end();
}

// A game that an end signal has not ended (here the main thread never waits again, as when it
// waits for an X server that stopped) is saved and ended with 0 by the watch.
TEST(SessionEnd, AGameHeldAfterASignalIsSavedAndEndedWithZero)
{
    const std::string file = make_temp_dir() + "/kept";
    EXPECT_EXIT(
        {
            catch_end_signals();
            catch_lost_display();
            end_saver board([&] { write_file(file, "board"); });
            raise(SIGTERM);
            alarm(10);  // without the watch the test fails rather than hangs
            for (;;)
                pause();
        },
        ::testing::ExitedWithCode(0), "did not end after the signal");
    EXPECT_EQ(read_file(file), "board");
}

}  // namespace
