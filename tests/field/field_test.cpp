#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "field/field.h"
#include "field/level_file.h"
#include "field/tile_kind.h"
#include "platform/grid.h"
#include "platform/text_encoding.h"
#include "support/fakes.h"
#include "tiles/flag_tile.h"
#include "tiles/norm_tile.h"
#include "tiles/start_tile.h"
#include "tiles/wall_tile.h"

namespace {

// The blank level with one cell changed.
std::string blank_with(int row, int col, char code)
{
    std::string text = blank_level;
    text[row * 14 + col] = code;
    return text;
}

void expect_ok_alert(const fake::AlertCall &a, const std::string &s1, const std::string &s2, const std::string &s3)
{
    EXPECT_EQ(a.s1, s1);
    EXPECT_EQ(a.s2, s2);
    EXPECT_EQ(a.s3, s3);
    EXPECT_EQ(a.b1, "Ok");
    EXPECT_EQ(a.b2, "(null)");
    EXPECT_EQ(a.c1, -1);
    EXPECT_EQ(a.c2, -1);
}

}  // namespace

TEST(Field, BlankLevelBuilds)
{
    field f(blank_level, 14, 14);
    EXPECT_EQ(f.status, field::built);
    EXPECT_EQ(f.rows, 14);
    EXPECT_EQ(f.columns, 14);
    EXPECT_EQ(f.flag_count, 1);
    EXPECT_TRUE(fake::alerts.empty());
    ASSERT_NE(f.tiles, nullptr);
    ASSERT_NE(f.codes, nullptr);
    EXPECT_EQ(f.start_point, f.tiles[1][1]);
    EXPECT_EQ(typeid(*f.start_point), typeid(start_tile));
    EXPECT_EQ(f.start_point->x, 59);
    EXPECT_EQ(f.start_point->y, 59);
    for (int i = 0; i < 14; i++) {
        for (int j = 0; j < 14; j++) {
            SCOPED_TRACE(testing::Message() << "row " << i << " column " << j);
            tile *t = f.tiles[i][j];
            ASSERT_NE(t, nullptr);
            EXPECT_EQ(f.codes[i][j], blank_level[i * 14 + j]);
            EXPECT_EQ(t->x, grid::cell_centre(j));
            EXPECT_EQ(t->y, grid::cell_centre(i));
            bool ring = i == 0 || i == 13 || j == 0 || j == 13;
            if (ring)
                EXPECT_EQ(typeid(*t), typeid(wall_tile));
            else if (i == 1 && j == 1)
                EXPECT_EQ(typeid(*t), typeid(start_tile));
            else if (i == 1 && j == 2)
                EXPECT_EQ(typeid(*t), typeid(flag_tile));
            else
                EXPECT_EQ(typeid(*t), typeid(norm_tile));
        }
    }
    EXPECT_EQ(f.tiles[13][13]->x, 527);
    EXPECT_EQ(f.tiles[13][13]->y, 527);
}

TEST(Field, EveryCodeBuildsItsClass)
{
    for (const tile_kind &c : tile_kinds) {
        SCOPED_TRACE(testing::Message() << "code " << c.code);
        fake::alerts.clear();
        // 'A' moves the start point there; any other code goes beside the blank level's start.
        std::string text = c.code == 'A' ? blank_with(1, 1, '.') : std::string(blank_level);
        text[5 * 14 + 7] = c.code;
        field f(text.c_str(), 14, 14);
        ASSERT_EQ(f.status, field::built);
        EXPECT_TRUE(fake::alerts.empty());
        tile *t = f.tiles[5][7];
        ASSERT_NE(t, nullptr);
        std::unique_ptr<tile> want(c.make(0, 0));
        const tile &made = *t, &expected = *want;
        EXPECT_EQ(typeid(made), typeid(expected));
        EXPECT_EQ(t->picture, want->picture);
        EXPECT_EQ(t->overlay, want->overlay);
        EXPECT_EQ(t->x, grid::cell_centre(7));
        EXPECT_EQ(t->y, grid::cell_centre(5));
        EXPECT_EQ(f.flag_count, c.code == 'F' ? 2 : 1);
        if (c.code == 'A')
            EXPECT_EQ(f.start_point, t);
        else
            EXPECT_EQ(f.start_point, f.tiles[1][1]);
    }
}

TEST(Field, EveryOtherByteIsInvalidWithTwoAlerts)
{
    int invalid = 0;
    for (int byte = 1; byte < 256; byte++) {
        if (tile_kind_of(static_cast<char>(byte)))
            continue;
        invalid++;
        SCOPED_TRACE(testing::Message() << "byte " << byte);
        fake::alerts.clear();
        std::string text = blank_with(5, 7, static_cast<char>(byte));
        field f(text.c_str(), 14, 14);
        EXPECT_EQ(f.status, field::built);
        EXPECT_EQ(f.tiles[5][7], nullptr);
        EXPECT_EQ(f.codes[5][7], static_cast<char>(byte));
        EXPECT_NE(f.tiles[5][6], nullptr);
        EXPECT_NE(f.tiles[5][8], nullptr);
        EXPECT_EQ(f.start_point, f.tiles[1][1]);
        ASSERT_EQ(fake::alerts.size(), 2u);
        int shown = byte < 128 ? byte : byte - 256;
        expect_ok_alert(fake::alerts[0], "Tuntematon ruutumerkki (koodi rivi sarake):", std::to_string(shown) + " 5 7", "");
        expect_ok_alert(fake::alerts[1], "Ruutua ei voitu luoda.", "", "");
    }
    EXPECT_EQ(invalid, 255 - 21);
}

TEST(Field, InvalidCodeNumbersWorkedByHand)
{
    struct Case {
        char code;
        int row, col;
        const char *shown;
    } cases[] = {
        {'x', 5, 7, "120 5 7"}, {'Z', 5, 7, "90 5 7"},    {'0', 1, 12, "48 1 12"},
        {'a', 12, 3, "97 12 3"}, {'\xff', 10, 10, "-1 10 10"}, {'\x80', 12, 12, "-128 12 12"},
        {'\xe4', 2, 9, "-28 2 9"}, {' ', 6, 1, "32 6 1"},
    };
    for (const Case &c : cases) {
        fake::alerts.clear();
        std::string text = blank_with(c.row, c.col, c.code);
        field f(text.c_str(), 14, 14);
        ASSERT_EQ(fake::alerts.size(), 2u);
        EXPECT_EQ(fake::alerts[0].s2, c.shown);
        EXPECT_EQ(f.tiles[c.row][c.col], nullptr);
    }
    // Several bad cells: two alerts each, in row-major order.
    fake::alerts.clear();
    std::string text = blank_level;
    text[3 * 14 + 4] = 'q';
    text[2 * 14 + 11] = '?';
    field f(text.c_str(), 14, 14);
    ASSERT_EQ(fake::alerts.size(), 4u);
    EXPECT_EQ(fake::alerts[0].s2, "63 2 11");
    EXPECT_EQ(fake::alerts[1].s1, "Ruutua ei voitu luoda.");
    EXPECT_EQ(fake::alerts[2].s2, "113 3 4");
    EXPECT_EQ(fake::alerts[3].s1, "Ruutua ei voitu luoda.");
}

TEST(Field, StartPointMissingOrDoubled)
{
    std::string none = blank_with(1, 1, '.');
    none[4 * 14 + 4] = 'x';  // an invalid code is not reported when no tile is made
    field missing(none.c_str(), 14, 14);
    EXPECT_EQ(missing.status, field::no_start_point);
    EXPECT_EQ(missing.tiles, nullptr);
    EXPECT_EQ(missing.codes, nullptr);
    EXPECT_EQ(missing.start_point, nullptr);
    ASSERT_EQ(fake::alerts.size(), 1u);
    expect_ok_alert(fake::alerts[0], L1("Virhe kenttädatassa:"), L1("Lähtöpiste puuttuu."), "");

    fake::alerts.clear();
    std::string two = blank_with(7, 7, 'A');
    two[4 * 14 + 4] = 'x';
    field doubled(two.c_str(), 14, 14);
    EXPECT_EQ(doubled.status, field::several_start_points);
    EXPECT_EQ(doubled.tiles, nullptr);
    EXPECT_EQ(doubled.codes, nullptr);
    EXPECT_EQ(doubled.start_point, nullptr);
    ASSERT_EQ(fake::alerts.size(), 1u);
    expect_ok_alert(fake::alerts[0], L1("Virhe kenttädatassa:"), L1("Liikaa lähtöpisteitä."), "");

    // Deleting fields without grids touches nothing.
    delete new field(none.c_str(), 14, 14);
    delete new field(two.c_str(), 14, 14);
    doubled.test_draw();
    missing.test_draw();
}

TEST(Field, NoFlagIsAccepted)
{
    field f(blank_with(1, 2, '.').c_str(), 14, 14);
    EXPECT_EQ(f.status, field::built);
    EXPECT_EQ(f.flag_count, 0);
    EXPECT_TRUE(fake::alerts.empty());
}

// Only the board's 196 cells count: a start point or flag past them could never be reached.
TEST(Field, CharactersPastTheBoardDoNotCount)
{
    std::string only_start_outside = blank_with(1, 1, '.') + "A";
    field outside(only_start_outside.c_str(), 14, 14);
    EXPECT_EQ(outside.status, field::no_start_point);
    EXPECT_EQ(outside.tiles, nullptr);
    ASSERT_EQ(fake::alerts.size(), 1u);
    EXPECT_EQ(fake::alerts[0].s2, L1("Lähtöpiste puuttuu."));

    fake::alerts.clear();
    std::string extra = std::string(blank_level) + "AFFx";
    field f(extra.c_str(), 14, 14);
    EXPECT_EQ(f.status, field::built);
    EXPECT_EQ(f.flag_count, 1);
    EXPECT_EQ(f.start_point, f.tiles[1][1]);
    EXPECT_TRUE(fake::alerts.empty());
}

// Cells a short text does not reach are walls; nothing is read past its end.
TEST(Field, ShortTextIsFilledWithWalls)
{
    std::string text = std::string(14, '*') + "*A.F";
    field f(text.c_str(), 14, 14);
    ASSERT_EQ(f.status, field::built);
    EXPECT_EQ(f.flag_count, 1);
    EXPECT_EQ(f.start_point, f.tiles[1][1]);
    EXPECT_EQ(typeid(*f.tiles[1][2]), typeid(norm_tile));
    EXPECT_EQ(typeid(*f.tiles[1][3]), typeid(flag_tile));
    for (int k = 18; k < 196; k++) {
        EXPECT_EQ(f.codes[k / 14][k % 14], '*');
        EXPECT_EQ(typeid(*f.tiles[k / 14][k % 14]), typeid(wall_tile));
    }
    EXPECT_TRUE(fake::alerts.empty());

    field empty("", 14, 14);
    EXPECT_EQ(empty.status, field::no_start_point);
    field null_text(nullptr, 14, 14);
    EXPECT_EQ(null_text.status, field::no_start_point);
}

// The marble's neighbour scan relies on the ring: whatever a text holds there, it is wall.
TEST(Field, OuterRingIsAlwaysWall)
{
    std::string text = blank_level;
    text[5] = 'A';             // row 0
    text[13 * 14 + 2] = 'F';   // row 13
    text[6 * 14] = 'O';        // column 0
    text[7 * 14 + 13] = 'x';   // column 13, invalid: no alert either
    field f(text.c_str(), 14, 14);
    ASSERT_EQ(f.status, field::built);
    EXPECT_EQ(f.flag_count, 1);
    EXPECT_EQ(f.start_point, f.tiles[1][1]);
    EXPECT_TRUE(fake::alerts.empty());
    for (int k : {5, 13 * 14 + 2, 6 * 14, 7 * 14 + 13}) {
        EXPECT_EQ(f.codes[k / 14][k % 14], '*');
        EXPECT_EQ(typeid(*f.tiles[k / 14][k % 14]), typeid(wall_tile));
    }
    // A text whose only start point lies on the ring has none.
    std::string ring_start = blank_with(1, 1, '.');
    ring_start[13] = 'A';
    field g(ring_start.c_str(), 14, 14);
    EXPECT_EQ(g.status, field::no_start_point);
}

TEST(Field, OtherSizesUseTheSameRules)
{
    field f("*****"
            "*A.F*"
            "*****"
            "*F",
            3, 5);  // 15 cells; the rest lies outside
    ASSERT_EQ(f.status, field::built);
    EXPECT_EQ(f.flag_count, 1);
    EXPECT_EQ(f.start_point, f.tiles[1][1]);
    EXPECT_EQ(f.start_point->x, 59);
    EXPECT_EQ(f.start_point->y, 59);
    EXPECT_EQ(typeid(*f.tiles[1][3]), typeid(flag_tile));
    EXPECT_EQ(typeid(*f.tiles[2][3]), typeid(wall_tile));
    field none("A", 0, 0);
    EXPECT_EQ(none.status, field::no_start_point);
    field negative("A", -3, 5);
    EXPECT_EQ(negative.status, field::no_start_point);
}

namespace {

// What the screen must show: every cell in row-major order, its picture and then its overlay,
// each leaving its mask-coloured pixels out, painted pixel by pixel over the background.
void paint_expected(BITMAP *out, const field &f, int background)
{
    clear_to_color(out, background);
    auto paint = [out](BITMAP *pic, int left, int top) {
        if (!pic)
            return;
        int mask = bitmap_mask_color(pic);
        for (int v = 0; v < pic->h; v++)
            for (int u = 0; u < pic->w; u++) {
                int c = getpixel(pic, u, v);
                if (c != mask)
                    putpixel(out, left + u, top + v, c);
            }
    };
    for (int i = 0; i < f.rows; i++)
        for (int j = 0; j < f.columns; j++) {
            tile *t = f.tiles[i][j];
            if (!t)
                continue;
            paint(t->picture, grid::cell * j, grid::cell * i);
            paint(t->overlay, grid::cell * j, grid::cell * i);
        }
}

}  // namespace

TEST(Field, TestDrawPutsEveryTileAtItsCorner)
{
    std::string text =
        "**************"
        "*AF#+-.BCEFIN*"
        "*OSVWXensw...*"
        "*.B.I.-.+.O..*"
        "*............*"
        "*..x.........*"  // an invalid cell stays undrawn
        "*............*"
        "*............*"
        "*............*"
        "*............*"
        "*............*"
        "*............*"
        "*...........B*"
        "**************";
    field f(text.c_str(), 14, 14);
    ASSERT_EQ(f.status, field::built);
    ASSERT_EQ(f.tiles[5][3], nullptr);
    const int background = makecol(1, 2, 3);
    clear_to_color(screen, background);
    f.test_draw();

    BITMAP *expected = create_bitmap(screen->w, screen->h);
    paint_expected(expected, f, background);
    int differ = 0;
    for (int y = 0; y < screen->h; y++)
        for (int x = 0; x < screen->w; x++)
            if (getpixel(screen, x, y) != getpixel(expected, x, y))
                differ++;
    EXPECT_EQ(differ, 0);
    destroy_bitmap(expected);

    // Some pixels by hand: the start cell shows the floor's top-left pixel at (39, 39), the wall's
    // at (0, 0) and at (507, 507); the invalid cell's inside keeps the background.
    BITMAP *floor = f.tiles[1][1]->picture;
    BITMAP *wall = f.tiles[0][0]->picture;
    ASSERT_NE(floor, nullptr);
    ASSERT_NE(wall, nullptr);
    if (getpixel(floor, 0, 0) != bitmap_mask_color(floor)) {
        EXPECT_EQ(getpixel(screen, 39, 39), getpixel(floor, 0, 0));
    }
    if (getpixel(wall, 0, 0) != bitmap_mask_color(wall)) {
        EXPECT_EQ(getpixel(screen, 0, 0), getpixel(wall, 0, 0));
        EXPECT_EQ(getpixel(screen, 507, 507), getpixel(wall, 0, 0));
    }
    EXPECT_EQ(getpixel(screen, grid::cell_centre(3), grid::cell_centre(5)), background);
    // Nothing is drawn past the board.
    EXPECT_EQ(getpixel(screen, 600, 300), background);
}

TEST(Field, LaterCellsCoverEarlierOnes)
{
    // Pictures 40 wide reach one pixel into the next cell to the right and below: the later
    // cell (row-major) must win there, and each overlay over its own cell's picture.
    field f(blank_level, 14, 14);
    ASSERT_EQ(f.status, field::built);
    auto solid = [](int r, int g, int b) {
        BITMAP *bmp = create_bitmap(40, 40);
        clear_to_color(bmp, makecol(r, g, b));
        return bmp;
    };
    BITMAP *red = solid(255, 0, 0), *blue = solid(0, 0, 255), *green = solid(0, 255, 0);
    BITMAP *ring = solid(255, 255, 0);
    rectfill(ring, 5, 5, 34, 34, bitmap_mask_color(ring));  // a frame with a see-through middle
    f.tiles[2][2]->picture = red;
    f.tiles[2][3]->picture = blue;   // east of the red one
    f.tiles[3][2]->picture = green;  // south of it
    f.tiles[3][3]->picture = red;
    f.tiles[3][3]->overlay = ring;
    // The pixel (273, 273) lies in cells (6, 7) and (7, 6) alike ((6, 6) comes before both, and
    // (7, 7) is left without picture): the row below is drawn after the row above.
    f.tiles[6][7]->picture = blue;
    f.tiles[7][6]->picture = green;
    f.tiles[7][7]->picture = nullptr;
    clear_to_color(screen, 0);
    f.test_draw();
    EXPECT_EQ(getpixel(screen, 273, 273), makecol(0, 255, 0));
    EXPECT_EQ(getpixel(screen, 78, 80), makecol(255, 0, 0));   // red's own column 0
    EXPECT_EQ(getpixel(screen, 116, 80), makecol(255, 0, 0));  // red's column 38
    EXPECT_EQ(getpixel(screen, 117, 80), makecol(0, 0, 255));  // red's column 39 under blue
    EXPECT_EQ(getpixel(screen, 80, 117), makecol(0, 255, 0));  // red's row 39 under green
    EXPECT_EQ(getpixel(screen, 117, 117), makecol(255, 255, 0));  // the last cell's overlay
    EXPECT_EQ(getpixel(screen, 117 + 20, 117 + 20), makecol(255, 0, 0));  // through the ring
    for (BITMAP *b : {red, blue, green, ring})
        destroy_bitmap(b);
}
