#include <allegro.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "field/grid.h"
#include "shell/globals.h"
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

template <class T>
std::function<tile *(int, int)> maker()
{
    return [](int y, int x) { return new T(y, x); };
}

struct Row {
    const char *name;
    std::function<tile *(int, int)> make;
    int picture;  // data file object, -1 for none
    int overlay;
};

// Which pictures each class shows, by object number.
const std::vector<Row> &classes()
{
    static const std::vector<Row> rows = {
        {"norm_tile", maker<norm_tile>(), 16, -1},
        {"start_tile", maker<start_tile>(), 16, -1},
        {"shutter_tile", maker<shutter_tile>(), 43, -1},
        {"softy_tile", maker<softy_tile>(), 29, -1},
        {"wall_tile", maker<wall_tile>(), 41, -1},
        {"hole_tile", maker<hole_tile>(), 17, -1},
        {"flag_tile", maker<flag_tile>(), 14, -1},
        {"slope_up_tile", maker<slope_up_tile>(), 26, -1},
        {"slope_down_tile", maker<slope_down_tile>(), 27, -1},
        {"slope_left_tile", maker<slope_left_tile>(), 28, -1},
        {"slope_right_tile", maker<slope_right_tile>(), 25, -1},
        {"convex_tile", maker<convex_tile>(), 6, -1},
        {"concave_tile", maker<concave_tile>(), 5, -1},
        {"bumper_tile", maker<bumper_tile>(), 16, 3},
        {"tube_ns_tile", maker<tube_ns_tile>(), -1, 34},
        {"tube_we_tile", maker<tube_we_tile>(), -1, 37},
        {"tube_x_tile", maker<tube_x_tile>(), -1, 40},
        {"tube_nse_tile", maker<tube_nse_tile>(), -1, 35},
        {"tube_nsw_tile", maker<tube_nsw_tile>(), -1, 36},
        {"tube_wen_tile", maker<tube_wen_tile>(), -1, 38},
        {"tube_wes_tile", maker<tube_wes_tile>(), -1, 39},
    };
    return rows;
}

BITMAP *solid(int r, int g, int b)
{
    BITMAP *bmp = create_bitmap(40, 40);
    clear_to_color(bmp, makecol(r, g, b));
    return bmp;
}

}  // namespace

TEST(Tile, ConstructorsTakeYFirstAndTheirPictures)
{
    for (const Row &row : classes()) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<tile> t(row.make(215, 293));  // row 5, column 7
        EXPECT_EQ(t->y, 215);
        EXPECT_EQ(t->x, 293);
        EXPECT_EQ(t->picture, object(row.picture));
        EXPECT_EQ(t->overlay, object(row.overlay));
    }
    bumper_tile b(20, 59);
    EXPECT_EQ(b.fired, 0);
    flag_tile f(20, 59);
    EXPECT_EQ(f.taken, 0);
    tile plain(7, 9, nullptr);
    EXPECT_EQ(plain.y, 7);
    EXPECT_EQ(plain.x, 9);
    EXPECT_EQ(plain.overlay, nullptr);
}

TEST(Tile, DrawPutsPictureThenOverlayAtTheCellCorner)
{
    BITMAP *red = solid(255, 0, 0);
    BITMAP *ring = solid(0, 255, 0);
    rectfill(ring, 10, 10, 29, 29, bitmap_mask_color(ring));
    const int black = makecol(0, 0, 0);

    clear_to_color(screen, black);
    tile t(59, 98, red);  // row 1, column 2: corner (78, 39)
    t.overlay = ring;
    t.draw();
    EXPECT_EQ(getpixel(screen, 78, 39), makecol(0, 255, 0));
    EXPECT_EQ(getpixel(screen, 117, 78), makecol(0, 255, 0));   // the picture's last pixel
    EXPECT_EQ(getpixel(screen, 98, 59), makecol(255, 0, 0));    // the centre, through the ring
    EXPECT_EQ(getpixel(screen, 77, 39), black);
    EXPECT_EQ(getpixel(screen, 78, 38), black);
    EXPECT_EQ(getpixel(screen, 118, 79), black);

    // No lower picture: only the overlay, and the screen shows through its mask.
    clear_to_color(screen, black);
    tile tube(20, 20, nullptr);
    tube.overlay = ring;
    tube.draw();
    EXPECT_EQ(getpixel(screen, 0, 0), makecol(0, 255, 0));
    EXPECT_EQ(getpixel(screen, 20, 20), black);

    // Neither picture: nothing drawn.
    clear_to_color(screen, black);
    tile none(20, 20, nullptr);
    none.draw();
    EXPECT_EQ(getpixel(screen, 0, 0), black);
    EXPECT_EQ(getpixel(screen, 20, 20), black);
    destroy_bitmap(red);
    destroy_bitmap(ring);
}

TEST(Tile, EveryClassDrawsItsDataFilePictures)
{
    // The first and last cell of the board: corners (0, 0) and (507, 507).
    for (int corner : {0, 507}) {
        for (const Row &row : classes()) {
            SCOPED_TRACE(testing::Message() << row.name << " at " << corner);
            const int background = makecol(1, 2, 3);
            clear_to_color(screen, background);
            std::unique_ptr<tile> t(row.make(corner + 20, corner + 20));
            t->draw();
            BITMAP *top = object(row.overlay), *low = object(row.picture);
            int checked = 0, wrong = 0;
            for (int v = 0; v < grid::cell; v++)
                for (int u = 0; u < grid::cell; u++) {
                    int want = background;
                    if (low && getpixel(low, u, v) != bitmap_mask_color(low))
                        want = getpixel(low, u, v);
                    if (top && getpixel(top, u, v) != bitmap_mask_color(top))
                        want = getpixel(top, u, v);
                    checked++;
                    if (getpixel(screen, corner + u, corner + v) != want)
                        wrong++;
                }
            EXPECT_EQ(checked, grid::cell * grid::cell);
            EXPECT_EQ(wrong, 0);
            if (corner > 0) {
                EXPECT_EQ(getpixel(screen, corner - 1, corner - 1), background);
            }
        }
    }
}
