// Drawing a frame: the 3 by 3 block around the marble, tubes over it, Esc, and the fall.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "marble/bead.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "run/play_support.h"
#include "support/fakes.h"
#include "support/levels.h"

namespace {

const std::vector<std::string> rows_with(int row, const std::string &line)
{
    std::vector<std::string> rows = levels::open_board();
    rows[row] = line;
    return rows;
}

BITMAP *picture(int n)
{
    return (BITMAP *)data1[n].dat;
}

struct bitmap_deleter {
    void operator()(BITMAP *b) const { destroy_bitmap(b); }
};
using bitmap_ptr = std::unique_ptr<BITMAP, bitmap_deleter>;

bitmap_ptr copy_of_screen()
{
    bitmap_ptr copy(create_bitmap(screen->w, screen->h));
    blit(screen, copy.get(), 0, 0, 0, 0, screen->w, screen->h);
    return copy;
}

// The block of the 3 by 3 cells around (row, column) as it must look on the screen: the lower
// pictures at their cells, the marble with its top-left corner at its centre minus 20, the
// upper pictures over it. `background` is what the marble's buffer held before.
bitmap_ptr expected_block(bead &b, int row, int column, int background, bool with_marble)
{
    bitmap_ptr e(create_bitmap(117, 117));
    clear_to_color(e.get(), background);
    int left = grid::cell * (column - 1), top = grid::cell * (row - 1);
    for (int i = row - 1; i <= row + 1; i++)
        for (int j = column - 1; j <= column + 1; j++) {
            tile *t = b.current_field->tiles[i][j];
            if (t->shown_picture())
                draw_sprite(e.get(), t->shown_picture(), t->x - 20 - left, t->y - 20 - top);
        }
    if (with_marble)
        draw_sprite(e.get(), b.sprite, (int)b.x - 20 - left, (int)b.y - 20 - top);
    for (int i = row - 1; i <= row + 1; i++)
        for (int j = column - 1; j <= column + 1; j++) {
            tile *t = b.current_field->tiles[i][j];
            if (t->overlay)
                draw_sprite(e.get(), t->overlay, t->x - 20 - left, t->y - 20 - top);
        }
    // In a tube, faintly through its roof.
    if (with_marble && b.current_field->tiles[(int)b.y / grid::cell][(int)b.x / grid::cell]->overlay) {
        set_trans_blender(0, 0, 0, bead::through_roof_alpha);
        draw_trans_sprite(e.get(), b.sprite, (int)b.x - 20 - left, (int)b.y - 20 - top);
    }
    return e;
}

TEST(Show, DrawsTheBlockAroundTheMarbleAndNothingElse)
{
    bead b;
    give_board(b, rows_with(6, "*.....B.#....*"));
    place(b, grid::cell_centre(6) + 5.7f, grid::cell_centre(6) - 3.2f);
    int background = makecol(10, 20, 30);
    clear_to_color(screen, makecol(200, 0, 0));
    clear_to_color(b.buffer, background);
    b.show();

    bitmap_ptr e = expected_block(b, 6, 6, background, true);
    EXPECT_TRUE(same_pixels(screen, 195, 195, e.get(), 0, 0, grid::block, grid::block));
    // Outside the block the screen is untouched.
    EXPECT_EQ(getpixel(screen, 194, 250), makecol(200, 0, 0));
    EXPECT_EQ(getpixel(screen, 312, 250), makecol(200, 0, 0));
    EXPECT_EQ(getpixel(screen, 250, 194), makecol(200, 0, 0));
    EXPECT_EQ(getpixel(screen, 250, 312), makecol(200, 0, 0));
}

TEST(Show, BlockFollowsTheMarblesCellAfterBounces)
{
    bead b;
    give_board(b, rows_with(6, "*............*"));
    // In the cell of row 3, column 9 (a bounce may have put it there).
    place(b, grid::cell * 9 + 1.5f, grid::cell * 3 + 38.9f);
    clear_to_color(screen, 0);
    clear_to_color(b.buffer, 0);
    b.show();
    bitmap_ptr e = expected_block(b, 3, 9, 0, true);
    EXPECT_TRUE(same_pixels(screen, grid::cell * 8, grid::cell * 2, e.get(), 0, 0, grid::block, grid::block));
}

TEST(Show, TheTubeCoversTheMarbleWhichShowsFaintlyThroughItsRoof)
{
    bead b;
    give_board(b, rows_with(6, "*.....I......*"));
    place(b, grid::cell_centre(6), grid::cell_centre(6));
    clear_to_color(b.buffer, 0);
    b.show();
    BITMAP *tube = picture(OBJ_TUBE_NS);
    int covered = 0, tube_alone = 0, marble_alone = 0;
    for (int j = 0; j < grid::cell; j++)
        for (int i = 0; i < grid::cell; i++) {
            const int c = getpixel(tube, i, j), m = getpixel(b.sprite, i, j);
            if (c == bitmap_mask_color(tube) || m == bitmap_mask_color(b.sprite))
                continue;
            covered++;
            const int shown = getpixel(screen, grid::cell * 6 + i, grid::cell * 6 + j);
            tube_alone += shown == c;
            marble_alone += shown == m && m != c;
        }
    EXPECT_GT(covered, grid::cell * 10);  // the tube's walls over the marble at least
    EXPECT_LT(tube_alone, covered);       // the marble shows through
    EXPECT_EQ(0, marble_alone);           // but nowhere as if there were no roof
    bitmap_ptr e = expected_block(b, 6, 6, 0, true);
    EXPECT_TRUE(same_pixels(screen, 195, 195, e.get(), 0, 0, grid::block, grid::block));
}

TEST(Show, EscPutsNothingOnTheScreen)
{
    bead b;
    give_board(b, rows_with(6, "*............*"));
    place(b, grid::cell_centre(6), grid::cell_centre(6));
    b.state = bead::stopped;
    clear_to_color(screen, makecol(1, 2, 3));
    bitmap_ptr before = copy_of_screen();
    b.show();
    EXPECT_TRUE(same_pixels(screen, 0, 0, before.get(), 0, 0, screen->w, screen->h));
}

// True if the screen shows every pixel of `picture` that is not its mask colour at (x, y).
bool shows(BITMAP *picture, int x, int y)
{
    for (int j = 0; j < picture->h; j++)
        for (int i = 0; i < picture->w; i++) {
            const int c = getpixel(picture, i, j);
            if (c != bitmap_mask_color(picture) && getpixel(screen, x + i, y + j) != c)
                return false;
        }
    return true;
}

// The fall runs on the frame clock: each of its 17 pictures stands one tick, then the hole alone
// with its sound until 207 ticks have passed, what a fall costs on the run's clock.
TEST(Show, FallIntoTheHoleThenTheEmptyHole)
{
    bead b;
    give_board(b, rows_with(6, "*.....O......*"));
    place(b, grid::cell_centre(6) + 2, grid::cell_centre(6) - 1);
    b.state = bead::fallen;
    clear_to_color(b.buffer, 0);
    BITMAP *hole = b.current_field->tiles[6][6]->picture;
    const int at = grid::cell * 6;
    std::vector<std::string> wrong;
    fake::on_rest = [&] {
        const int tick = fake::tick_waits;
        const int sounds = static_cast<int>(fake::samples.size());
        bool right = true;
        if (tick <= 7)
            right = shows(picture(OBJ_FALL1 + tick - 1), at, at) && sounds == 0;
        else if (tick == 8)  // the last picture at full size, the first of the ten shrinking
            right = shows(picture(OBJ_FALL7), at, at) && sounds == 0;
        else if (tick <= 17)  // shrunk away from the corner
            right = getpixel(screen, at, at) == getpixel(hole, 0, 0) && sounds == 0;
        else
            right = shows(hole, at, at) && sounds == 1;
        if (!right)
            wrong.push_back("tick " + std::to_string(tick));
    };
    teh_counter = 1 + bead::fall_time;  // as the run sets it for a fall's frame
    b.show();
    fake::on_rest = nullptr;
    EXPECT_EQ(fake::tick_waits, 207);
    EXPECT_EQ(teh_counter, 1);  // the frame's own tick is left to wait
    EXPECT_TRUE(wrong.empty()) << wrong.front();
    EXPECT_EQ(fake::rest_calls, 0);
    EXPECT_EQ(fake::vsync_calls, 0);
    ASSERT_EQ(fake::samples.size(), 1u);
    EXPECT_EQ(fake::samples[0].sample, (SAMPLE *)data1[OBJ_SND_HOLE].dat);
    EXPECT_EQ(fake::samples[0].vol, 255);
    EXPECT_EQ(fake::samples[0].pan, 128);
    EXPECT_EQ(fake::samples[0].freq, 1000);
    // The block is drawn again without the marble: the hole is empty.
    bitmap_ptr e = expected_block(b, 6, 6, 0, false);
    EXPECT_TRUE(same_pixels(screen, 195, 195, e.get(), 0, 0, grid::block, grid::block));
}

TEST(Show, FlagTakenInThisStepAlreadyShowsTheFloor)
{
    bead b;
    give_board(b, rows_with(6, "*......F.....*"));
    place(b, grid::cell_centre(6) + 15, grid::cell_centre(6));  // 24 from the flag
    clear_to_color(b.buffer, 0);
    b.move();
    ASSERT_EQ(b.flags_left, 0);
    b.show();
    // The flag's cell, right of the marble's picture, is plain floor.
    ASSERT_FALSE(same_pixels(picture(OBJ_FLAG), 16, 0, picture(OBJ_FLOOR), 16, 0, 23, grid::cell));
    EXPECT_TRUE(same_pixels(screen, grid::cell * 7 + 16, grid::cell * 6, picture(OBJ_FLOOR), 16, 0, 23, grid::cell));
}

// A frame shows only what changed: nothing while the marble stays on the same whole pixel, the
// squares it left and entered while it stays in its cell, the whole block when the block moves
// or a flag is taken. A colour painted on the screen after a frame shows what a frame rewrote.
TEST(Show, OnlyWhatChangedReachesTheScreen)
{
    const int paint = makecol(255, 0, 255);
    bead b;
    give_board(b, rows_with(6, "*.....F......*"));
    place(b, grid::cell_centre(6) - 39 + 0.2f, grid::cell_centre(6));  // cell (6, 5), the flag in the next cell east
    clear_to_color(b.buffer, 0);
    b.show();
    bitmap_ptr first = expected_block(b, 6, 5, 0, true);
    ASSERT_TRUE(same_pixels(screen, 39 * 4, 39 * 5, first.get(), 0, 0, 117, 117));

    // Within the same pixel: no drawing at all.
    clear_to_color(screen, paint);
    b.x += 0.7f;
    b.show();
    EXPECT_EQ(getpixel(screen, 39 * 5 + 20, 39 * 6 + 20), paint);

    // Three pixels east and one down: the marble's old and new 40-pixel squares, from
    // (x - 20, y - 21) to (x + 23, y + 20) around the old centre, and nothing else.
    const int ox = (int)b.x, oy = (int)b.y;
    b.x += 3;
    b.y += 1;
    b.show();
    bitmap_ptr moved = expected_block(b, 6, 5, 0, true);
    const int left = 39 * 4, top = 39 * 5;
    EXPECT_TRUE(same_pixels(screen, ox - 20, oy - 20, moved.get(), ox - 20 - left, oy - 20 - top, 43, 41));
    EXPECT_EQ(getpixel(screen, ox - 21, oy), paint);
    EXPECT_EQ(getpixel(screen, ox + 23, oy), paint);
    EXPECT_EQ(getpixel(screen, ox, oy - 21), paint);
    EXPECT_EQ(getpixel(screen, ox, oy + 21), paint);
    EXPECT_EQ(getpixel(screen, left, top), paint);

    // Into the flag's cell: the block moves with the marble and is shown whole.
    clear_to_color(screen, paint);
    b.x = grid::cell_centre(6) - 10.0f;
    b.show();
    bitmap_ptr next = expected_block(b, 6, 6, 0, true);
    EXPECT_TRUE(same_pixels(screen, 39 * 5, 39 * 5, next.get(), 0, 0, 117, 117));

    // The flag taken where the marble stands still: its cell shows the floor at once.
    clear_to_color(screen, paint);
    b.move();
    ASSERT_EQ(b.flags_left, 0);
    b.x = grid::cell_centre(6) - 10.0f;
    b.show();
    bitmap_ptr taken = expected_block(b, 6, 6, 0, true);
    EXPECT_TRUE(same_pixels(screen, 39 * 5, 39 * 5, taken.get(), 0, 0, 117, 117));
}

}  // namespace
