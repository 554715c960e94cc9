#include "field/tile_kind.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <typeindex>
#include <typeinfo>
#include <utility>

#include "platform/globals.h"
#include "tiles/bumper_tile.h"
#include "tiles/concave_tile.h"
#include "tiles/convex_tile.h"
#include "tiles/flag_tile.h"
#include "tiles/hole_tile.h"
#include "tiles/norm_tile.h"
#include "tiles/shutter_tile.h"
#include "tiles/slope_down_tile.h"
#include "tiles/slope_left_tile.h"
#include "tiles/slope_right_tile.h"
#include "tiles/slope_up_tile.h"
#include "tiles/softy_tile.h"
#include "tiles/start_tile.h"
#include "tiles/tube_ns_tile.h"
#include "tiles/tube_nse_tile.h"
#include "tiles/tube_nsw_tile.h"
#include "tiles/tube_we_tile.h"
#include "tiles/tube_wen_tile.h"
#include "tiles/tube_wes_tile.h"
#include "tiles/tube_x_tile.h"
#include "tiles/wall_tile.h"

namespace {

BITMAP *object(int n)
{
    return n < 0 ? nullptr : static_cast<BITMAP *>(data1[n].dat);
}

// Every level code with its class and its pictures by data file object number, -1 for none:
// the palette picture, the one under the marble and the one over it.
struct Expected {
    char code;
    std::type_index type;
    int palette, picture, overlay;
};

const Expected expected[] = {
    {'#', typeid(softy_tile), 29, 29, -1},       {'*', typeid(wall_tile), 41, 41, -1},
    {'+', typeid(tube_x_tile), 40, -1, 40},      {'-', typeid(tube_we_tile), 37, -1, 37},
    {'.', typeid(norm_tile), 16, 16, -1},        {'A', typeid(start_tile), 30, 16, -1},
    {'B', typeid(bumper_tile), 2, 16, 3},        {'C', typeid(concave_tile), 5, 5, -1},
    {'E', typeid(tube_nse_tile), 35, -1, 35},    {'F', typeid(flag_tile), 14, 14, -1},
    {'I', typeid(tube_ns_tile), 34, -1, 34},     {'N', typeid(tube_wen_tile), 38, -1, 38},
    {'O', typeid(hole_tile), 17, 17, -1},        {'S', typeid(tube_wes_tile), 39, -1, 39},
    {'V', typeid(convex_tile), 6, 6, -1},        {'W', typeid(tube_nsw_tile), 36, -1, 36},
    {'X', typeid(shutter_tile), 43, 43, -1},     {'e', typeid(slope_right_tile), 25, 25, -1},
    {'n', typeid(slope_up_tile), 26, 26, -1},    {'s', typeid(slope_down_tile), 27, 27, -1},
    {'w', typeid(slope_left_tile), 28, 28, -1},
};

}  // namespace

TEST(TileKind, EveryCodeBuildsItsClassWithItsPicturesAndNoOtherByteIsACode)
{
    ASSERT_EQ(tile_kind_count, 21);
    std::set<char> listed;
    for (const Expected &e : expected) {
        SCOPED_TRACE(testing::Message() << "code " << e.code);
        const tile_kind *k = tile_kind_of(e.code);
        ASSERT_NE(k, nullptr);
        EXPECT_EQ(k->code, e.code);
        EXPECT_EQ(k->palette, e.palette);
        EXPECT_EQ(k->picture, e.picture);
        EXPECT_EQ(k->overlay, e.overlay);
        std::unique_ptr<tile> t(k->make(215, 293));  // row 5, column 7: the centre's y comes first
        const tile &made = *t;
        EXPECT_EQ(std::type_index(typeid(made)), e.type);
        EXPECT_EQ(t->y, 215);
        EXPECT_EQ(t->x, 293);
        EXPECT_EQ(t->picture, object(e.picture));
        EXPECT_EQ(t->overlay, object(e.overlay));
        listed.insert(e.code);
    }
    for (const tile_kind &k : tile_kinds)
        EXPECT_TRUE(listed.count(k.code)) << "unexpected code " << k.code;
    int others = 0;
    for (int byte = 0; byte < 256; byte++)
        if (!listed.count(static_cast<char>(byte))) {
            others++;
            EXPECT_EQ(tile_kind_of(static_cast<char>(byte)), nullptr) << "byte " << byte;
        }
    EXPECT_EQ(others, 256 - 21);
    // A new tile starts unfired and untaken.
    std::unique_ptr<tile> b(tile_kind_of('B')->make(20, 59));
    EXPECT_EQ(static_cast<bumper_tile &>(*b).fired, 0);
    std::unique_ptr<tile> f(tile_kind_of('F')->make(20, 59));
    EXPECT_EQ(static_cast<flag_tile &>(*f).taken, 0);
}

// The sides through which the marble cannot enter a cell: a wall's four and the closed sides of
// each tube, as the tube's picture shows them; every other kind is open.
TEST(TileKinds, ClosedSides)
{
    const std::pair<char, unsigned> closed[] = {
        {'*', closed_north | closed_south | closed_west | closed_east},
        {'-', closed_north | closed_south}, {'I', closed_west | closed_east},
        {'E', closed_west}, {'W', closed_east}, {'N', closed_south}, {'S', closed_north}};
    for (const tile_kind &k : tile_kinds) {
        unsigned expected = 0;
        for (const auto &c : closed)
            if (c.first == k.code)
                expected = c.second;
        EXPECT_EQ(k.closed, expected) << k.code;
    }
}
