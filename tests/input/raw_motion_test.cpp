#include <gtest/gtest.h>

#include <cmath>

#include "input/raw_motion.h"

namespace {

TEST(RawMotion, XAndYAreTheValuesOfBits0And1)
{
    double x, y;
    const unsigned char xy_wheel[] = {0x0b}, y_only[] = {0x02}, wheel[] = {0x08};
    const double v[] = {3.0, -2.0, 1.0};
    ASSERT_TRUE(raw_axes(xy_wheel, 1, v, x, y));
    EXPECT_EQ(x, 3.0);
    EXPECT_EQ(y, -2.0);
    ASSERT_TRUE(raw_axes(y_only, 1, v, x, y));  // y is then the first value
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 3.0);
    EXPECT_FALSE(raw_axes(wheel, 1, v, x, y));
    EXPECT_FALSE(raw_axes(xy_wheel, 0, v, x, y));
}

TEST(RawMotion, WholeCountsAddUpFractionsWaitAndAbsoluteDevicesLeaveTheStretch)
{
    raw_sum s;
    int dx = 0, dy = 0;
    for (int i = 0; i < 100; i++)  // a flick of 100 events of one count
        s.add(1, 0, true);
    ASSERT_TRUE(s.take(dx, dy));
    EXPECT_EQ(dx, 100);
    EXPECT_EQ(dy, 0);
    // 0.4 + 0.4 makes no whole count; a third makes one, 0.2 kept; towards zero on the left.
    s.add(0.4, -0.4, true);
    s.add(0.4, -0.4, true);
    ASSERT_TRUE(s.take(dx, dy));
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
    s.add(0.4, -0.4, true);
    s.add(std::nan(""), 5, true);  // skipped
    ASSERT_TRUE(s.take(dx, dy));
    EXPECT_EQ(dx, 1);
    EXPECT_EQ(dy, -1);
    // A tablet moved: no sum for the stretch, the next starts afresh.
    s.add(5, 5, true);
    s.add(400, 300, false);
    EXPECT_FALSE(s.take(dx, dy));
    s.add(3, -1, true);
    ASSERT_TRUE(s.take(dx, dy));
    EXPECT_EQ(dx, 3);
    EXPECT_EQ(dy, -1);
}

}  // namespace
