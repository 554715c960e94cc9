#include <gtest/gtest.h>

#include "geometry/vektor.h"

TEST(Vektor, KomponenterSplitsAlongAndAcross)
{
    Vektor v(3, 4);
    Vektor along(2, 0), across;
    v.Komponenter(&along, &across);
    EXPECT_FLOAT_EQ(along.x, 3);
    EXPECT_FLOAT_EQ(along.y, 0);
    EXPECT_FLOAT_EQ(across.x, 0);
    EXPECT_FLOAT_EQ(across.y, 4);
}
