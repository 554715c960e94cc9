#include "run/ghost.h"

#include "field/field.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "tiles/tile.h"

namespace {

// How much of the board shows through the ghost: a little over half.
const int ghost_alpha = 136;

}  // namespace

ghost::ghost(std::vector<run_tilt> run) : tilts(std::move(run))
{
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
