#include "field/field.h"
#include "marble/bead.h"
#include "marble/board_cell.h"
#include "platform/data1.h"
#include "platform/dirty_rect.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "run/ghost.h"
#include "tiles/tile.h"

namespace {

// Waits `ticks` ticks of the frame clock, counted down on the frame's tick counter.
void wait_ticks(int ticks)
{
    const int until = teh_counter - ticks;
    while (teh_counter > until)
        wait_tick();
}

// The fall straight onto the screen: seven pictures of the marble sinking, the last one shrunk
// into the hole, then the hole alone and its sound. Each picture stands one tick of the frame
// clock and the whole takes bead::fall_time ticks, so a fall lasts as long as it costs on the
// run's clock however slowly the pictures are drawn.
void play_fall(const tile *hole)
{
    int left = hole ? hole->x - grid::half : 0;
    int top = hole ? hole->y - grid::half : 0;
    BITMAP *under = hole ? hole->shown_picture() : nullptr;
    for (int k = OBJ_FALL1; k <= OBJ_FALL7; k++) {
        if (under)
            draw_sprite(screen, under, left, top);
        draw_sprite(screen, (BITMAP *)data1[k].dat, left, top);
        wait_ticks(1);
    }
    BITMAP *last = (BITMAP *)data1[OBJ_FALL7].dat;
    const int shrink_steps = 10;
    for (int i = 0; i < shrink_steps; i++) {
        if (under)
            draw_sprite(screen, under, left, top);
        masked_stretch_blit(last, screen, 0, 0, grid::cell, grid::cell, left + i, top + i, grid::cell - 2 * i,
                            grid::cell - 2 * i);
        wait_ticks(1);
    }
    if (under)
        draw_sprite(screen, under, left, top);
    play_sample((SAMPLE *)data1[OBJ_SND_HOLE].dat, 255, 128, 1000, 0);
    wait_ticks(bead::fall_time - (OBJ_FALL7 - OBJ_FALL1 + 1) - shrink_steps);
}

}  // namespace

void bead::compose(BITMAP *into, int column, int row) const
{
    tile ***tiles = current_field->tiles;
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) {
            tile *t = tiles[row + dy][column + dx];
            if (t && t->shown_picture())
                draw_sprite(into, t->shown_picture(), grid::cell * (dx + 1), grid::cell * (dy + 1));
        }
    const int left = grid::cell * (column - 1), top = grid::cell * (row - 1);
    // The ghost under the marble: the player's own marble is never hidden.
    if (racer)
        racer->draw_into(into, left, top);
    if (state == rolling)
        draw_sprite(into, sprite, (int)x - grid::half - left, (int)y - grid::half - top);
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) {
            tile *t = tiles[row + dy][column + dx];
            if (t && t->overlay)
                draw_sprite(into, t->overlay, grid::cell * (dx + 1), grid::cell * (dy + 1));
        }
    // Inside a tube the marble shows faintly through its roof: where it runs and which branch
    // it takes can be seen, and the tube still looks closed.
    const tile *own = tiles[board_cell(y, current_field->rows)][board_cell(x, current_field->columns)];
    if (state == rolling && own && own->overlay) {
        set_trans_blender(0, 0, 0, through_roof_alpha);
        draw_trans_sprite(into, sprite, (int)x - grid::half - left, (int)y - grid::half - top);
    }
}

void bead::show()
{
    if (state == stopped)
        return;  // Esc: the last frame stays as it was
    int column = board_cell(x, current_field->columns);
    int row = board_cell(y, current_field->rows);
    const int ix = (int)x, iy = (int)y;
    // Same block, same pictures (only a flag changes one) and the same state: what is on the
    // screen is the last buffer, and at most the marble's old and new squares differ from it.
    const bool same_block = column == shown_column && row == shown_row && state == shown_state &&
                            flags_left == shown_flags;
    if (same_block && state == rolling && ix == shown_x && iy == shown_y)
        return;

    compose(buffer, column, row);
    const int left = grid::cell * (column - 1), top = grid::cell * (row - 1);
    dirty_rect changed;
    if (same_block) {
        changed.add(shown_x - grid::half, shown_y - grid::half, sprite->w, sprite->h);
        changed.add(ix - grid::half, iy - grid::half, sprite->w, sprite->h);
        changed.clip(left, top, grid::block, grid::block);
    } else {
        changed.add(left, top, grid::block, grid::block);
    }
    present(buffer, left, top, changed);
    shown_column = column;
    shown_row = row;
    shown_x = ix;
    shown_y = iy;
    shown_state = state;
    shown_flags = flags_left;

    if (state == fallen) {
        play_fall(current_field->tiles[row][column]);
        // The block without the marble, so the hole is empty when the marble restarts.
        changed.add(left, top, grid::block, grid::block);
        present(buffer, left, top, changed);
    }
}

void bead::show_racer()
{
    const bool now = racer->visible();
    if (!buffer || (now == racer->on_screen && (!now || (racer->x() == racer->shown_x && racer->y() == racer->shown_y))))
        return;
    const BITMAP *picture = static_cast<BITMAP *>(data1[OBJ_GHOST].dat);
    // The squares it left and took lie within one block round the one it takes (it moves less
    // than a cell a frame), or it went away, and then round the one it left. The block is
    // composed again with both marbles, in the marble's own buffer: every frame composes it anew.
    const int cx = now ? racer->x() : racer->shown_x, cy = now ? racer->y() : racer->shown_y;
    const int column = board_cell(static_cast<float>(cx), current_field->columns);
    const int row = board_cell(static_cast<float>(cy), current_field->rows);
    const int left = grid::cell * (column - 1), top = grid::cell * (row - 1);
    compose(buffer, column, row);
    dirty_rect changed;
    if (racer->on_screen)
        changed.add(racer->shown_x - grid::half, racer->shown_y - grid::half, picture->w, picture->h);
    if (now)
        changed.add(racer->x() - grid::half, racer->y() - grid::half, picture->w, picture->h);
    changed.clip(left, top, grid::block, grid::block);
    present(buffer, left, top, changed);
    racer->on_screen = now;
    racer->shown_x = racer->x();
    racer->shown_y = racer->y();
}
