#include <allegro.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>
#include <utility>

#include "geometry/vektor.h"

namespace {

std::set<std::pair<int, int>> lit_pixels(BITMAP *bmp)
{
    std::set<std::pair<int, int>> lit;
    for (int y = 0; y < bmp->h; y++)
        for (int x = 0; x < bmp->w; x++)
            if (getpixel(bmp, x, y) != 0)
                lit.insert({x, y});
    return lit;
}

// The pixels the library's own line() lights for the given segments.
std::set<std::pair<int, int>> segments(std::initializer_list<std::array<int, 4>> lines)
{
    BITMAP *ref = create_bitmap(screen->w, screen->h);
    clear_to_color(ref, 0);
    for (const auto &l : lines)
        line(ref, l[0], l[1], l[2], l[3], makecol(255, 255, 255));
    auto lit = lit_pixels(ref);
    destroy_bitmap(ref);
    return lit;
}

}  // namespace

TEST(Vektor, ConstructionSetAndLength)
{
    Vektor zero;
    EXPECT_EQ(zero.x, 0);
    EXPECT_EQ(zero.y, 0);
    Vektor v(3, -4);
    EXPECT_EQ(v.x, 3);
    EXPECT_EQ(v.y, -4);
    EXPECT_FLOAT_EQ(v.Langd(), 5);
    v.Set(-5, 12);
    EXPECT_EQ(v.x, -5);
    EXPECT_EQ(v.y, 12);
    EXPECT_FLOAT_EQ(v.Langd(), 13);
    EXPECT_EQ(zero.Langd(), 0);
}

TEST(Vektor, NormaliseMakesUnitLengthAndLeavesZeroAlone)
{
    Vektor v(3, 4);
    v.Normalise();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    Vektor w(0, -7);
    w.Normalise();
    EXPECT_FLOAT_EQ(w.x, 0);
    EXPECT_FLOAT_EQ(w.y, -1);
    Vektor zero(0, 0);
    zero.Normalise();
    EXPECT_EQ(zero.x, 0);
    EXPECT_EQ(zero.y, 0);
    EXPECT_FALSE(std::isnan(zero.x) || std::isnan(zero.y));
}

TEST(Vektor, ArithmeticReturnsNewValuesAndKeepsOperands)
{
    const Vektor v(1, 2), w(3, -5);
    Vektor sum = v + w;
    EXPECT_FLOAT_EQ(sum.x, 4);
    EXPECT_FLOAT_EQ(sum.y, -3);
    Vektor diff = v - w;
    EXPECT_FLOAT_EQ(diff.x, -2);
    EXPECT_FLOAT_EQ(diff.y, 7);
    Vektor scaled = v * 3;
    EXPECT_FLOAT_EQ(scaled.x, 3);
    EXPECT_FLOAT_EQ(scaled.y, 6);
    Vektor halved = w / 2;
    EXPECT_FLOAT_EQ(halved.x, 1.5f);
    EXPECT_FLOAT_EQ(halved.y, -2.5f);
    EXPECT_FLOAT_EQ(v * w, -7);  // 1*3 + 2*(-5)
    EXPECT_EQ(v.x, 1);
    EXPECT_EQ(v.y, 2);
    EXPECT_EQ(w.x, 3);
    EXPECT_EQ(w.y, -5);
}

TEST(Vektor, SameWayMapsDirectionsToZeroOne)
{
    Vektor a(2, 0), b(5, 0), back(-3, 0), up(0, 7), diag(1, 1);
    EXPECT_FLOAT_EQ(a ^ b, 1);
    EXPECT_FLOAT_EQ(diag ^ diag, 1);
    EXPECT_FLOAT_EQ(a ^ back, 0);
    EXPECT_FLOAT_EQ(a ^ up, 0.5f);
    // 45 degrees: cos = 1/sqrt(2), so 0.5 + 0.35355339.
    EXPECT_NEAR(diag ^ a, 0.85355339f, 1e-6);
    // 135 degrees.
    EXPECT_NEAR(diag ^ back, 0.14644661f, 1e-6);
    // No direction: treated as at right angles to everything.
    Vektor zero;
    EXPECT_EQ(zero ^ a, 0.5f);
    EXPECT_EQ(a ^ zero, 0.5f);
    EXPECT_EQ(zero ^ zero, 0.5f);
}

TEST(Vektor, KomponenterSplitsAlongAndAcross)
{
    Vektor v(3, 4);
    Vektor along(2, 0), across;
    v.Komponenter(&along, &across);
    EXPECT_FLOAT_EQ(along.x, 3);
    EXPECT_FLOAT_EQ(along.y, 0);
    EXPECT_FLOAT_EQ(across.x, 0);
    EXPECT_FLOAT_EQ(across.y, 4);
    EXPECT_EQ(v.x, 3);
    EXPECT_EQ(v.y, 4);

    // (2, 0) along the diagonal: half of it each way.
    Vektor w(2, 0);
    Vektor diag(5, 5), rest;
    w.Komponenter(&diag, &rest);
    EXPECT_NEAR(diag.x, 1, 1e-6);
    EXPECT_NEAR(diag.y, 1, 1e-6);
    EXPECT_NEAR(rest.x, 1, 1e-6);
    EXPECT_NEAR(rest.y, -1, 1e-6);

    // Along a direction opposite to v: the along part still equals v.
    Vektor u(0, -6), down(0, 3), side;
    u.Komponenter(&down, &side);
    EXPECT_FLOAT_EQ(down.x, 0);
    EXPECT_FLOAT_EQ(down.y, -6);
    EXPECT_FLOAT_EQ(side.x, 0);
    EXPECT_FLOAT_EQ(side.y, 0);

    // No direction given: nothing lies along it, everything across.
    Vektor none, all;
    v.Komponenter(&none, &all);
    EXPECT_EQ(none.x, 0);
    EXPECT_EQ(none.y, 0);
    EXPECT_FLOAT_EQ(all.x, 3);
    EXPECT_FLOAT_EQ(all.y, 4);
}

TEST(Vektor, AbsIsTheAbsoluteValue)
{
    EXPECT_EQ(Abs(-2.5f), 2.5f);
    EXPECT_EQ(Abs(3.0f), 3.0f);
    EXPECT_EQ(Abs(0.0f), 0.0f);
}

TEST(VektorRita, DrawsShaftAndTwoBarbs)
{
    const int white = makecol(255, 255, 255);
    clear_to_color(screen, 0);
    // Tip (120, 100); 10 back is (110, 100); turned by +-0.3 about the tip:
    // (120 - 10 cos 0.3, 100 -+ 10 sin 0.3) = (110.45, 97.04) and (110.45, 102.96).
    Vektor(20, 0).Rita(100, 100, white);
    auto lit = lit_pixels(screen);
    EXPECT_EQ(lit, segments({{100, 100, 120, 100}, {120, 100, 110, 97}, {120, 100, 110, 102}}));
    EXPECT_TRUE(lit.count({100, 100}));
    EXPECT_TRUE(lit.count({110, 97}));
    EXPECT_TRUE(lit.count({110, 102}));
    EXPECT_FALSE(lit.count({121, 100}));
    EXPECT_EQ(getpixel(screen, 120, 100), white);

    // (-30, 40) from (200, 50): tip (170, 90), 10 back along (-0.6, 0.8) is (176, 82), i.e.
    // (6, -8) from the tip. Turned by +0.3: (8.096, -5.870) -> (178.10, 84.13);
    // by -0.3: (3.368, -9.416) -> (173.37, 80.58).
    clear_to_color(screen, 0);
    Vektor(-30, 40).Rita(200, 50, white);
    EXPECT_EQ(lit_pixels(screen), segments({{200, 50, 170, 90}, {170, 90, 178, 84}, {170, 90, 173, 80}}));

    // Fractions are cut, not rounded: tip (10.9, 10.9) is drawn at (10, 10).
    clear_to_color(screen, 0);
    Vektor(0.9f, 0.9f).Rita(10, 10, white);
    auto small = lit_pixels(screen);
    EXPECT_TRUE(small.count({10, 10}));
    EXPECT_FALSE(small.count({11, 11}));
}

TEST(VektorRita, ZeroVectorIsADotWithoutBarbs)
{
    const int white = makecol(255, 255, 255);
    clear_to_color(screen, 0);
    Vektor().Rita(50, 60, white);
    std::set<std::pair<int, int>> only{{50, 60}};
    EXPECT_EQ(lit_pixels(screen), only);
}
