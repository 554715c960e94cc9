#include "run/ghost.h"

#include "field/field.h"
#include "marble/board_cell.h"
#include "platform/data1.h"
#include "platform/dirty_rect.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "tiles/tile.h"

namespace {

// How much of the board shows through the ghost: a little over half.
const int ghost_alpha = 136;

}  // namespace

ghost::ghost(std::vector<run_tilt> run) : tilts(std::move(run))
{
    if (data1)
        buffer = create_bitmap(grid::block, grid::block);
}

ghost::~ghost()
{
    if (buffer)
        destroy_bitmap(buffer);
}

void ghost::restart(field *board)
{
    delete racer.current_field;
    racer.current_field = board;
    next = 0;
    time = 0;
    waiting = 0;
    flags.clear();
    if (board)
        racer.place_on_start();
}

void ghost::advance(int ticks)
{
    taken_now.clear();
    if (!racer.current_field)
        return;
    for (; ticks > 0; ticks--) {
        if (waiting > 0) {
            time++;
            if (--waiting == 0)
                racer.come_back();
            continue;
        }
        if (next >= tilts.size() || racer.flags_left <= 0)
            return;  // the run is over: the ghost rests where it ended
        racer.step(tilts[next].x, tilts[next].y);
        next++;
        time++;
        if (racer.events.flag_taken) {
            flags[{racer.restart_tile->x, racer.restart_tile->y}] = time;
            taken_now.push_back({racer.restart_tile->x, racer.restart_tile->y});
        }
        if (racer.events.fell)
            waiting = bead::fall_time;
    }
}

int ghost::flag_time(int fx, int fy) const
{
    const auto f = flags.find({fx, fy});
    return f == flags.end() ? -1 : f->second;
}

bool ghost::visible() const
{
    return shown && racer.current_field && waiting == 0;
}

void ghost::draw_into(BITMAP *into, int left, int top) const
{
    if (!visible())
        return;
    BITMAP *picture = static_cast<BITMAP *>(data1[OBJ_GHOST].dat);
    set_trans_blender(0, 0, 0, ghost_alpha);
    draw_trans_sprite(into, picture, x() - grid::half - left, y() - grid::half - top);
}

void ghost::show(bead &player)
{
    const bool now = visible();
    if (!buffer || !player.current_field || (now == on_screen && (!now || (x() == shown_x && y() == shown_y))))
        return;
    const BITMAP *picture = static_cast<BITMAP *>(data1[OBJ_GHOST].dat);
    // The squares it left and took lie within one block round the one it takes (it moves less
    // than a cell a frame), or it went away, and then round the one it left.
    const int cx = now ? x() : shown_x, cy = now ? y() : shown_y;
    const int column = board_cell(static_cast<float>(cx), player.current_field->columns);
    const int row = board_cell(static_cast<float>(cy), player.current_field->rows);
    const int left = grid::cell * (column - 1), top = grid::cell * (row - 1);
    player.compose(buffer, column, row);
    dirty_rect changed;
    if (on_screen)
        changed.add(shown_x - grid::half, shown_y - grid::half, picture->w, picture->h);
    if (now)
        changed.add(x() - grid::half, y() - grid::half, picture->w, picture->h);
    changed.clip(left, top, grid::block, grid::block);
    present(buffer, left, top, changed);
    on_screen = now;
    shown_x = x();
    shown_y = y();
}
