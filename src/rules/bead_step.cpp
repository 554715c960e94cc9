#include "field/field.h"
#include "field/tile_kind.h"
#include "marble/bead.h"
#include "marble/board_cell.h"
#include "platform/grid.h"
#include "tiles/tile.h"

namespace {

constexpr float tilt_divisor = 1650.0f;

// The faces need it (see bead::speed_limit); NaN cannot arise from a checked configuration,
// but the limit would catch it as well.
float limit_speed(float v)
{
    if (!(v < bead::speed_limit))
        return bead::speed_limit;
    if (!(v > -bead::speed_limit))
        return -bead::speed_limit;
    return v;
}

// The nine tiles around the marble: the own cell last, so it has the final word.
constexpr where scan_order[9] = {
    east, south, west, north, south_east, south_west, north_west, north_east, under,
};

constexpr int row_step(where w)
{
    return w == north_west || w == north || w == north_east ? -1
           : w == south_west || w == south || w == south_east ? 1
                                                              : 0;
}

constexpr int column_step(where w)
{
    return w == north_west || w == west || w == south_west ? -1
           : w == north_east || w == east || w == south_east ? 1
                                                             : 0;
}

// A centre inside a wall's cell, or off the board.
bool in_wall(const field *f, float px, float py)
{
    float c = px / (float)grid::cell, r = py / (float)grid::cell;
    if (!(c >= 0 && r >= 0 && c < f->columns && r < f->rows))
        return true;
    return f->codes && f->codes[(int)r][(int)c] == '*';
}

// Whether a step from the cell (row0, column0) into the cell (row, column) crossed one of the
// latter's closed sides.
bool through_closed_side(const field *f, int row0, int column0, int row, int column)
{
    if (!f->codes || (row == row0 && column == column0))
        return false;
    const tile_kind *kind = tile_kind_of(f->codes[row][column]);
    const unsigned closed = kind ? kind->closed : 0;
    return (column > column0 && (closed & closed_west)) ||
           (column < column0 && (closed & closed_east)) ||
           (row > row0 && (closed & closed_north)) || (row < row0 && (closed & closed_south));
}

}  // namespace

void bead::step(float ax, float ay)
{
    events = step_events();
    if (hole_pull.Langd() > 0) {
        // Not limited: a hole's pull of up to 23 / 3 per frame would be cut at the limit and
        // draw in marbles that pass it at full speed. Its frames stay under about 25 pixels
        // (what a marble at the limit gains falling towards the centre), too little to skip a
        // cell, and a step into a closed side is caught below.
        speed = speed + hole_pull;
    } else {
        tilt_acc = Vektor(ax / tilt_divisor, ay / tilt_divisor) + slope_acc;
        speed = speed + tilt_acc;
        speed = speed + tile_push;
        speed = speed * cur_friction;
        speed.x = limit_speed(speed.x);
        speed.y = limit_speed(speed.y);
    }

    old_x = x;
    old_y = y;
    x += speed.x;
    y += speed.y;
    int column = board_cell(x, current_field->columns);
    int row = board_cell(y, current_field->rows);
    const int column0 = board_cell(old_x, current_field->columns);
    const int row0 = board_cell(old_y, current_field->rows);
    // A fast marble rushing diagonally past a wall's corner point can land inside the wall's
    // cell, where the wall, as the marble's own cell, does nothing; past a tube's corner it
    // lands in the tube's cell through a closed side, and the channel would draw it into the
    // tube. Seen from the cell the step began in, the wall or tube is the neighbour whose
    // corner point or face stops the marble.
    if (in_wall(current_field, x, y) ||
        through_closed_side(current_field, row0, column0, row, column)) {
        column = column0;
        row = row0;
    }

    bounced = 0;
    slope_acc = Vektor();
    for (where w : scan_order) {
        tile *t = current_field->tiles[row + row_step(w)][column + column_step(w)];
        if (t)
            t->interfere(this, w);
    }
    // The last guard of "never inside a wall" nor into a tube through its side: should a chain
    // of bounces still leave the centre there, the step is taken back and the marble rebounds
    // along its path.
    if ((in_wall(current_field, x, y) && !in_wall(current_field, old_x, old_y)) ||
        through_closed_side(current_field, row0, column0, board_cell(y, current_field->rows),
                            board_cell(x, current_field->columns))) {
        x = old_x;
        y = old_y;
        speed = speed * -0.3f;
    }
    events.fell = state == fallen;
    events.won = flags_left <= 0;
}

void bead::come_back()
{
    x = (float)restart_tile->x;
    y = (float)restart_tile->y;
    tilt_acc = speed = hole_pull = tile_push = slope_acc = Vektor();
    state = rolling;
}

// The marble owns the board it rolls on and, in a game run, the picture of its block; here with
// the rules, since a run stepped again anywhere ends with them.
bead::~bead()
{
    delete current_field;
    if (buffer)
        destroy_bitmap(buffer);
}

void bead::place_on_start()
{
    stop_motion();
    cur_friction = friction;
    flags_left = current_field->flag_count;
    state = rolling;
    restart_tile = current_field->start_point;
    x = old_x = (float)restart_tile->x;
    y = old_y = (float)restart_tile->y;
    run_time = 0;
    falls = 0;
    played.clear();
}
