#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>

#include "field/tile_kind.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "tiles/tile.h"

namespace {

BITMAP *object(int n)
{
    return n < 0 ? nullptr : static_cast<BITMAP *>(data1[n].dat);
}

BITMAP *solid(int r, int g, int b)
{
    BITMAP *bmp = create_bitmap(40, 40);
    clear_to_color(bmp, makecol(r, g, b));
    return bmp;
}

}  // namespace

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
        for (const tile_kind &kind : tile_kinds) {
            SCOPED_TRACE(testing::Message() << "code " << kind.code << " at " << corner);
            const int background = makecol(1, 2, 3);
            clear_to_color(screen, background);
            std::unique_ptr<tile> t(kind.make(corner + 20, corner + 20));
            t->draw();
            BITMAP *top = object(kind.overlay), *low = object(kind.picture);
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
