#include <allegro.h>
#include <gtest/gtest.h>

#include "app/title.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "support/fakes.h"
#include "support/pictures.h"

namespace {

class Title : public ::testing::Test {
protected:
    void SetUp() override
    {
        mouse_b = 0;
        clear_to_color(screen, makecol(255, 255, 255));
    }
    void TearDown() override { mouse_b = 0; }
};

}  // namespace

TEST_F(Title, WithoutAClickEachPictureFadesInAndTheTitleStaysFiveSeconds)
{
    const Pixel logo = brightest_opaque(OBJ_TITLE_LOGO, 235, 150);
    const Pixel second = brightest_opaque(OBJ_TITLE_2, 195, 240);
    const Pixel third = brightest_opaque(OBJ_TITLE_3, 235, 300);
    int rests_before_timer = -1;
    bool all_shown = false;
    fake::deadline_passes = true;
    fake::on_rest = [&] {
        if (fake::tick_waits == 1 && rests_before_timer < 0) {
            rests_before_timer = fake::rest_calls;
            all_shown = getpixel(screen, logo.x, logo.y) == logo.colour &&
                        getpixel(screen, second.x, second.y) == second.colour &&
                        getpixel(screen, third.x, third.y) == third.colour &&
                        getpixel(screen, 10, 10) == makecol(0, 0, 0);
        }
    };

    start_bild();

    // 3 pictures x 100 fade steps of 1 ms, then 500 ticks of 10 ms waited for without polling.
    EXPECT_EQ(rests_before_timer, 300);
    EXPECT_EQ(fake::rest_calls, 300);
    EXPECT_EQ(fake::tick_waits, 500);
    EXPECT_EQ(teh_counter, 0);
    EXPECT_TRUE(all_shown);
    // The ticks fall due on a fixed schedule, exactly 10 ms apart.
    ASSERT_EQ(fake::wait_deadlines.size(), 500u);
    for (size_t i = 1; i < fake::wait_deadlines.size(); i++) {
        const timespec &a = fake::wait_deadlines[i - 1], &b = fake::wait_deadlines[i];
        ASSERT_EQ((b.tv_sec - a.tv_sec) * 1000000000L + (b.tv_nsec - a.tv_nsec), 10000000L) << i;
    }
    EXPECT_EQ(getpixel(screen, logo.x, logo.y), makecol(0, 0, 0));
    EXPECT_EQ(getpixel(screen, third.x, third.y), makecol(0, 0, 0));
}

TEST_F(Title, TheFadeBuildsUpStepByStep)
{
    const Pixel logo = brightest_opaque(OBJ_TITLE_LOGO, 235, 150);
    // Before the first draw the screen is black; after ten steps (alpha 0..9, each moving the
    // pixel alpha/256 of the way) it has come about 16 % of the way.
    int at_first = -1, at_ten = -1;
    fake::on_rest = [&] {
        if (fake::rest_calls == 1)
            at_first = getpixel(screen, logo.x, logo.y);
        if (fake::rest_calls == 11)
            at_ten = getpixel(screen, logo.x, logo.y);
    };
    start_bild();
    EXPECT_EQ(at_first, makecol(0, 0, 0));
    const int sum_ten = getr(at_ten) + getg(at_ten) + getb(at_ten);
    const int sum_logo = getr(logo.colour) + getg(logo.colour) + getb(logo.colour);
    EXPECT_GT(sum_ten, sum_logo / 10);
    EXPECT_LT(sum_ten, sum_logo / 4);
}

TEST_F(Title, AClickEndsTheFadesAndTheWaitThenWaitsForTheRelease)
{
    const Pixel third = brightest_opaque(OBJ_TITLE_3, 235, 300);
    bool third_shown = false;
    fake::on_rest = [&] {
        const int waits = fake::rest_calls + fake::tick_waits;
        if (waits == 10)
            mouse_b = 1;
        if (waits == 11)
            third_shown = getpixel(screen, third.x, third.y) == third.colour;
        if (waits == 15)
            mouse_b = 0;
    };

    start_bild();

    // Ten fade steps of the first picture, none of the others, no 5-second wait, and then
    // five ticks while the button is held.
    EXPECT_EQ(fake::rest_calls, 10);
    EXPECT_EQ(fake::tick_waits, 5);
    EXPECT_TRUE(third_shown);
    EXPECT_EQ(teh_counter, 495);
    EXPECT_EQ(getpixel(screen, third.x, third.y), makecol(0, 0, 0));
}

TEST_F(Title, AKeyEndsTheTitleLikeAClickAndReachesNothingAfterIt)
{
    // Return pressed during the second picture's fade and held for a while: in the menu that
    // follows the pointer sits over "Pelaa", so a Return left over would start a run.
    fake::on_rest = [&] {
        const int waits = fake::rest_calls + fake::tick_waits;
        if (waits == 120) {
            fake::keys.push_back((KEY_ENTER << 8) | 13);
            key[KEY_ENTER] = 1;
        }
        if (waits == 125)
            key[KEY_ENTER] = 0;
    };

    start_bild();
    key[KEY_ENTER] = 0;

    // 100 steps of the first picture, 20 of the second, none of the third, no 5-second wait,
    // then ticks until the key is up.
    EXPECT_EQ(fake::rest_calls, 120);
    EXPECT_EQ(fake::tick_waits, 5);
    EXPECT_EQ(teh_counter, 495);
    EXPECT_TRUE(fake::keys.empty()) << "the key pressed during the title must not reach the menu";
}

TEST(Timer, MyTimerCountsDownByOne)
{
    teh_counter = 3;
    my_timer();
    EXPECT_EQ(teh_counter, 2);
    teh_counter = 0;
    my_timer();
    EXPECT_EQ(teh_counter, -1);
}
