#include <gtest/gtest.h>

#include <cmath>

#include "geometry/punkter.h"

namespace {
const double pi = 3.14159265358979323846;
}

TEST(FloatCoord, SetAddMulDiv)
{
    FloatCoord p;
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    p.Set(2, -3);
    EXPECT_EQ(p.x, 2);
    EXPECT_EQ(p.y, -3);
    p.Add(1.5f, 4);
    EXPECT_FLOAT_EQ(p.x, 3.5f);
    EXPECT_FLOAT_EQ(p.y, 1);
    FloatCoord c(0.5f, -2);
    p.Add(&c);
    EXPECT_FLOAT_EQ(p.x, 4);
    EXPECT_FLOAT_EQ(p.y, -1);
    p += c;
    EXPECT_FLOAT_EQ(p.x, 4.5f);
    EXPECT_FLOAT_EQ(p.y, -3);
    p.Mul(2);
    EXPECT_FLOAT_EQ(p.x, 9);
    EXPECT_FLOAT_EQ(p.y, -6);
    p.Div(3);
    EXPECT_FLOAT_EQ(p.x, 3);
    EXPECT_FLOAT_EQ(p.y, -2);
    EXPECT_FLOAT_EQ(c.x, 0.5f);
    EXPECT_FLOAT_EQ(c.y, -2);
}

TEST(FloatCoord, RotateTurnsClockwiseOnTheScreen)
{
    // Right turns to down: a positive angle is clockwise with y pointing down.
    FloatCoord p(1, 0);
    p.Rotate(static_cast<float>(pi / 2));
    EXPECT_NEAR(p.x, 0, 1e-6);
    EXPECT_NEAR(p.y, 1, 1e-6);
    // Both coordinates come from the old point: (3, 4) by pi/2 is (-4, 3), not (-4, -1).
    FloatCoord q(3, 4);
    q.Rotate(static_cast<float>(pi / 2));
    EXPECT_NEAR(q.x, -4, 1e-5);
    EXPECT_NEAR(q.y, 3, 1e-5);
    FloatCoord r(2, 0);
    r.Rotate(static_cast<float>(pi / 3));
    EXPECT_NEAR(r.x, 1, 1e-6);
    EXPECT_NEAR(r.y, std::sqrt(3.0), 1e-6);
}

TEST(FloatCoord, OperationsAboutAPoint)
{
    FloatCoord p(3, 2);
    p.Rotate(2, 2, static_cast<float>(pi / 2));
    EXPECT_NEAR(p.x, 2, 1e-6);
    EXPECT_NEAR(p.y, 3, 1e-6);
    FloatCoord m(4, 6);
    m.Mul(2, 2, 3);  // (2, 4) from the centre, times 3, back: (8, 14)
    EXPECT_FLOAT_EQ(m.x, 8);
    EXPECT_FLOAT_EQ(m.y, 14);
    m.Div(2, 2, 3);
    EXPECT_FLOAT_EQ(m.x, 4);
    EXPECT_FLOAT_EQ(m.y, 6);

    FloatCoord c(10, -10);
    FloatCoord a(10, -5);
    a.Rotate(&c, static_cast<float>(pi));
    EXPECT_NEAR(a.x, 10, 1e-5);
    EXPECT_NEAR(a.y, -15, 1e-5);
    FloatCoord b(12, -9);
    b.Mul(&c, -2);
    EXPECT_FLOAT_EQ(b.x, 6);
    EXPECT_FLOAT_EQ(b.y, -12);
    b.Div(&c, 4);
    EXPECT_FLOAT_EQ(b.x, 9);
    EXPECT_FLOAT_EQ(b.y, -10.5f);
    EXPECT_EQ(c.x, 10);
    EXPECT_EQ(c.y, -10);
}

TEST(FloatCoord, DistanceAndMinusAreTheSame)
{
    FloatCoord p(1, 2), c(4, 6);
    EXPECT_FLOAT_EQ(p.Distance(&c), 5);
    EXPECT_FLOAT_EQ(p - c, 5);
    EXPECT_FLOAT_EQ(c - p, 5);
    EXPECT_EQ(p - p, 0);
    FloatCoord far(-5, 14);  // (6, 12) away
    EXPECT_FLOAT_EQ(p - far, static_cast<float>(std::sqrt(180.0)));
}

TEST(FloatCoord, DirRunsClockwiseFromTheRight)
{
    FloatCoord p(10, 10);
    FloatCoord same(10, 10), right(20, 10), below(10, 25), left(-3, 10), above(10, 0);
    FloatCoord down_right(20, 20), up_right(20, 0), up_left(0, 0);
    EXPECT_EQ(p.Dir(&same), -1);
    EXPECT_FLOAT_EQ(p.Dir(&right), 0);
    EXPECT_FLOAT_EQ(p.Dir(&below), static_cast<float>(pi / 2));
    EXPECT_FLOAT_EQ(p.Dir(&left), static_cast<float>(pi));
    EXPECT_FLOAT_EQ(p.Dir(&above), static_cast<float>(6.283185307 - pi / 2));
    EXPECT_FLOAT_EQ(p.Dir(&down_right), static_cast<float>(pi / 4));
    EXPECT_FLOAT_EQ(p.Dir(&up_right), static_cast<float>(6.283185307 - pi / 4));
    EXPECT_FLOAT_EQ(p.Dir(&up_left), static_cast<float>(6.283185307 - 3 * pi / 4));
    // Far off the axis the float distance can round below |dx|; acos must still see a valid value.
    FloatCoord q(0, 0), nearly_right(1e6f, 0.01f);
    float d = q.Dir(&nearly_right);
    EXPECT_FALSE(std::isnan(d));
    EXPECT_NEAR(d, 0, 1e-3);
}
