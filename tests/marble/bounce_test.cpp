// The face bounce, the corner bounce and the bounce sounds, with outcomes worked out by hand.
#include <gtest/gtest.h>

#include "marble/bead.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "run/play_support.h"
#include "support/fakes.h"

namespace {

const SAMPLE *sample(int n)
{
    return (const SAMPLE *)data1[n].dat;
}

// A marble that moved from (qx, qy) to (px, py) in this step with speed (vx, vy).
void stepped(bead &b, float qx, float qy, float px, float py, float vx, float vy)
{
    place(b, px, py);
    b.old_x = qx;
    b.old_y = qy;
    b.speed = Vektor(vx, vy);
}

TEST(FaceBounce, StopsAtTheLineAndKeepsThirtyPercentReversed)
{
    bead b;
    stepped(b, 101, 50, 105, 52, 4, 2);
    EXPECT_TRUE(b.face_bounce(bead::on_x, 100, bead::keeps_less, false));
    EXPECT_EQ(b.x, 100.0f);
    EXPECT_EQ(b.y, 52.0f);
    EXPECT_FLOAT_EQ(b.speed.x, -1.2f);
    EXPECT_FLOAT_EQ(b.speed.y, 2.0f);
    EXPECT_TRUE(fake::samples.empty());
    EXPECT_TRUE(fake::stopped.empty());
    EXPECT_EQ(b.bounced, 0);

    // On the line or short of it nothing happens.
    EXPECT_FALSE(b.face_bounce(bead::on_x, 100, bead::keeps_less, false));
    EXPECT_FLOAT_EQ(b.speed.x, -1.2f);

    // The other side of a line, on y: a marble that may not go above y = 80.
    stepped(b, 50, 83, 50, 78, 1, -5);
    EXPECT_TRUE(b.face_bounce(bead::on_y, 80, bead::keeps_more, false));
    EXPECT_EQ(b.y, 80.0f);
    EXPECT_FLOAT_EQ(b.speed.y, 1.5f);
    EXPECT_FLOAT_EQ(b.speed.x, 1.0f);
}

TEST(FaceBounce, SoundsWithTheSpeedOfTheImpact)
{
    bead b;
    stepped(b, 101, 50, 105, 52, 4, 2);
    b.face_bounce(bead::on_x, 100, bead::keeps_less, true);
    heard(b);
    // 4 * 255 / 6 = 170, taken before the speed is cut.
    ASSERT_EQ(fake::samples.size(), 1u);
    EXPECT_EQ(fake::samples[0].sample, sample(OBJ_SND_BOUNCE));
    EXPECT_EQ(fake::samples[0].vol, 170);
    EXPECT_EQ(fake::samples[0].pan, 128);
    EXPECT_EQ(fake::samples[0].freq, 1000);
    EXPECT_EQ(fake::samples[0].loop, 0);
    ASSERT_EQ(fake::stopped.size(), 1u);
    EXPECT_EQ(fake::stopped[0], sample(OBJ_SND_SILENT));

    // A line y = F sounds by the y component: 3 gives 127.
    stepped(b, 50, 77, 50, 82, 5, 3);
    b.face_bounce(bead::on_y, 80, bead::keeps_less, true);
    heard(b);
    ASSERT_EQ(fake::samples.size(), 2u);
    EXPECT_EQ(fake::samples[1].vol, 127);
}

TEST(BounceSound, VolumeFollowsTheSpeedComponentUpToTheLoudest)
{
    bead b;
    struct {
        float speed;
        int volume;  // -1: silent
    } cases[] = {{1, -1}, {-1, -1}, {0.5f, -1}, {0, -1}, {1.2f, 51}, {3, 127}, {-3, 127},
                 {5, 212}, {1.5f, 63}, {6, 255}, {7, 255}, {-14, 255}};
    for (auto c : cases) {
        fake::reset();
        b.speed = Vektor(c.speed, 0);
        b.bounce_soundh();
        heard(b);
        EXPECT_EQ(fake::stopped.size(), 1u) << c.speed;
        if (c.volume < 0) {
            EXPECT_TRUE(fake::samples.empty()) << c.speed;
        } else {
            ASSERT_EQ(fake::samples.size(), 1u) << c.speed;
            EXPECT_EQ(fake::samples[0].vol, c.volume) << c.speed;
        }
        // The vertical sound reads the y component only.
        fake::reset();
        b.speed = Vektor(0, c.speed);
        b.bounce_soundv();
        heard(b);
        EXPECT_EQ(fake::samples.size(), c.volume < 0 ? 0u : 1u) << c.speed;
        fake::reset();
        b.speed = Vektor(c.speed, 0);
        b.bounce_soundv();
        heard(b);
        EXPECT_TRUE(fake::samples.empty()) << c.speed;
    }
}

TEST(CornerBounce, HeadOnWorkedExample)
{
    bead b;
    // Q (0, 0) to P (10, 0) towards K (20, 0): contact at H (4, 0), speed (10, 0) becomes
    // (-3, 0), and the remaining 6 pixels of the step, cut by 10 / 3, run back from H: 2.2.
    stepped(b, 0, 0, 10, 0, 10, 0);
    b.corner_bounce(0, 20);
    EXPECT_NEAR(b.x, 2.2f, 1e-5);
    EXPECT_NEAR(b.y, 0.0f, 1e-5);
    EXPECT_NEAR(b.speed.x, -3.0f, 1e-5);
    EXPECT_NEAR(b.speed.y, 0.0f, 1e-5);
    EXPECT_EQ(b.bounced, 1);
    EXPECT_TRUE(fake::samples.empty());  // corners are silent
}

TEST(CornerBounce, AlreadyWithinReachBacksUpToTheContactPoint)
{
    bead b;
    // E = 10 < 16: t = 10 - sqrt(100 + 156) = -6, H = (-6, 0) behind Q; speed (2, 0) becomes
    // (-0.6, 0), r = 10 / 3, and the marble ends at -6 - (2 + 6) * 0.3 = -8.4.
    stepped(b, 0, 0, 2, 0, 2, 0);
    b.corner_bounce(0, 10);
    EXPECT_NEAR(b.x, -8.4f, 1e-5);
    EXPECT_NEAR(b.y, 0.0f, 1e-5);
    EXPECT_NEAR(b.speed.x, -0.6f, 1e-5);
    EXPECT_EQ(b.bounced, 1);
}

TEST(CornerBounce, OnlyTheFirstCornerOfAStep)
{
    bead b;
    stepped(b, 0, 0, 10, 0, 10, 0);
    b.corner_bounce(0, 20);
    float x = b.x, vx = b.speed.x;
    // A second corner in reach, in the same step, from any tile: no change.
    b.corner_bounce(5, 0);
    EXPECT_EQ(b.x, x);
    EXPECT_EQ(b.speed.x, vx);

    // Through the corner test: touched is reported, the marble is left alone.
    EXPECT_TRUE(b.corner_test(0, 10));
    EXPECT_EQ(b.x, x);
    EXPECT_FALSE(b.corner_test(0, 40));  // 37.8 away
}

TEST(CornerBounce, CornerTestReachIsSixteen)
{
    bead b;
    stepped(b, 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(b.corner_test(0, 16));
    EXPECT_EQ(b.bounced, 0);
    stepped(b, 100, 100, 110, 100, 10, 0);
    EXPECT_TRUE(b.corner_test(100, 125));  // 15 away
    EXPECT_EQ(b.bounced, 1);
}

// Measured to the truncated old centre (100, 50) the step would be 0.014 long instead of
// 0.41, and the marble would land near (121.3, 70.6), 29 pixels away in another cell. Measured
// to the exact old centre: t = -3.317, H = (102.646, 52.646), and the marble stays where a
// glancing touch leaves it, just outside reach.
TEST(CornerBounce, SlowGlancingContactStaysPut)
{
    bead b;
    stepped(b, 100.3f, 50.3f, 100.01f, 50.01f, -0.29f, -0.29f);
    b.corner_bounce(61, 89);
    EXPECT_NEAR(b.x, 100.976f, 0.002);
    EXPECT_NEAR(b.y, 49.418f, 0.002);
    EXPECT_NEAR(b.speed.x, -0.1837f, 0.0005);
    EXPECT_NEAR(b.speed.y, -0.3551f, 0.0005);
    EXPECT_GE(b.distance(61, 89), 16.0f);
}

// Within reach and moving away from the corner point: the smaller root lies on the far side of
// K (t = -26, H = (26, 0)) and would throw the marble to (34.1, 0), through the corner. It is
// leaving; it is not bounced.
TEST(CornerBounce, LeavingMarbleIsNotThrownThroughTheCorner)
{
    bead b;
    stepped(b, 0, 0, -1, 0, -1, 0);
    b.corner_bounce(0, 10);
    EXPECT_EQ(b.x, -1.0f);
    EXPECT_EQ(b.y, 0.0f);
    EXPECT_EQ(b.speed.x, -1.0f);
    EXPECT_EQ(b.bounced, 0);
}

TEST(CornerBounce, MarbleAtRestWithinReachStaysWhereItIs)
{
    bead b;
    stepped(b, 30, 40, 30, 40, 0, 0);
    b.corner_bounce(40, 40);
    EXPECT_EQ(b.x, 30.0f);
    EXPECT_EQ(b.y, 40.0f);
    EXPECT_EQ(b.speed.x, 0.0f);
    EXPECT_EQ(b.speed.y, 0.0f);
}

TEST(CornerBounce, GlancingHitKeepsTheSpeedAlongTheCorner)
{
    bead b;
    // Down past K = (0, 20) at x = 12 with speed (0, 5): b = -30, m = 113, t = 15 - sqrt(112)
    // = 4.417, H = (12, 9.417), unit normal towards K (-0.75, 0.6614). Of the speed, 3.307 lies
    // along the normal: (-2.480, 2.187) becomes (0.744, -0.656), the rest (2.480, 2.813) stays:
    // speed (3.2245, 2.1563), r = 5 / 3.8792, and the remaining 0.583 of the step, cut by r,
    // runs along the new direction from H: (12.376, 9.668), just out of reach.
    stepped(b, 12, 5, 12, 10, 0, 5);
    b.corner_bounce(20, 0);
    EXPECT_EQ(b.bounced, 1);
    EXPECT_NEAR(b.speed.x, 3.2245f, 0.0005);
    EXPECT_NEAR(b.speed.y, 2.1563f, 0.0005);
    EXPECT_NEAR(b.x, 12.376f, 0.002);
    EXPECT_NEAR(b.y, 9.668f, 0.002);
    EXPECT_GE(b.distance(20, 0), 16.0f);
}

}  // namespace
