#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "input/raw_motion.h"

namespace {

TEST(RawAxes, ValuesFollowTheBitsSet)
{
    double x = 9, y = 9;
    // Both axes and a wheel (bit 3): x, y, wheel.
    const unsigned char both[] = {0x0b};
    const double v1[] = {3.0, -2.0, 1.0};
    ASSERT_TRUE(raw_axes(both, 1, v1, x, y));
    EXPECT_EQ(x, 3.0);
    EXPECT_EQ(y, -2.0);
    // Only y: it is the first value.
    const unsigned char only_y[] = {0x02, 0x00};
    const double v2[] = {7.0};
    ASSERT_TRUE(raw_axes(only_y, 2, v2, x, y));
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 7.0);
    // Only x.
    const unsigned char only_x[] = {0x01};
    const double v3[] = {-5.0};
    ASSERT_TRUE(raw_axes(only_x, 1, v3, x, y));
    EXPECT_EQ(x, -5.0);
    EXPECT_EQ(y, 0.0);
}

TEST(RawAxes, NoMotionWithoutXOrY)
{
    double x = 9, y = 9;
    const unsigned char wheel[] = {0x08};
    const double v[] = {1.0};
    EXPECT_FALSE(raw_axes(wheel, 1, v, x, y));
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);
    EXPECT_FALSE(raw_axes(wheel, 0, v, x, y));
    EXPECT_FALSE(raw_axes(nullptr, 1, v, x, y));
}

TEST(RawSum, EveryCountOfAFlickAddsUp)
{
    // 100 events of one count, then 10 of ten the other way: 100 - 100.
    raw_sum s;
    for (int i = 0; i < 100; i++)
        s.add(1, 0, true);
    int dx = 0, dy = 0;
    ASSERT_TRUE(s.take(dx, dy));
    EXPECT_EQ(dx, 100);
    EXPECT_EQ(dy, 0);
    for (int i = 0; i < 10; i++)
        s.add(-10, 3, true);
    ASSERT_TRUE(s.take(dx, dy));
    EXPECT_EQ(dx, -100);
    EXPECT_EQ(dy, 30);
    ASSERT_TRUE(s.take(dx, dy));  // nothing since
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
}

TEST(RawSum, FractionsWaitForTheNextWholeCount)
{
    // A driver's scaled counts: 0.4 + 0.4 is no whole count yet, + 0.4 is one with 0.2 kept;
    // towards the left the same, truncated towards zero.
    raw_sum s;
    int dx = 9, dy = 9;
    s.add(0.4, -0.4, true);
    s.add(0.4, -0.4, true);
    ASSERT_TRUE(s.take(dx, dy));
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
    s.add(0.4, -0.4, true);
    ASSERT_TRUE(s.take(dx, dy));
    EXPECT_EQ(dx, 1);
    EXPECT_EQ(dy, -1);
    s.add(0.8, -0.8, true);  // 0.2 + 0.8
    ASSERT_TRUE(s.take(dx, dy));
    EXPECT_EQ(dx, 1);
    EXPECT_EQ(dy, -1);
}

TEST(RawSum, AnAbsoluteDeviceLeavesTheStretchToTheLibrary)
{
    // A tablet's values are places: the stretch has no sum, and the next one starts afresh.
    raw_sum s;
    int dx = 9, dy = 9;
    s.add(5, 5, true);
    s.add(400, 300, false);
    s.add(2, 0, true);
    EXPECT_FALSE(s.take(dx, dy));
    EXPECT_EQ(dx, 9);
    EXPECT_EQ(dy, 9);
    s.add(3, -1, true);
    ASSERT_TRUE(s.take(dx, dy));
    EXPECT_EQ(dx, 3);
    EXPECT_EQ(dy, -1);
}

TEST(RawSum, BrokenValuesAreSkippedAndHugeOnesBounded)
{
    raw_sum s;
    int dx = 9, dy = 9;
    s.add(std::nan(""), 1, true);
    s.add(std::numeric_limits<double>::infinity(), 1, true);
    ASSERT_TRUE(s.take(dx, dy));
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
    s.add(1e300, -1e300, true);
    ASSERT_TRUE(s.take(dx, dy));
    EXPECT_EQ(dx, 1000000000);
    EXPECT_EQ(dy, -1000000000);
    s.add(2, 2, true);
    s.clear();
    ASSERT_TRUE(s.take(dx, dy));
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
}

}  // namespace
