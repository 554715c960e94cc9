#include "tiles/tile_parts.h"

#include <cmath>

#include "marble/bead.h"
#include "platform/grid.h"
#include "tiles/tile.h"

namespace tile_parts {

bool corner(bead *marble, const tile *t, corner_point p)
{
    int kx = (p == nw || p == sw) ? t->x - grid::half : t->x + grid::half;
    int ky = (p == nw || p == ne) ? t->y - grid::half : t->y + grid::half;
    return marble->corner_test(ky, kx);
}

void corners(bead *marble, const tile *t, corner_point a, corner_point b)
{
    if (!corner(marble, t, a))
        corner(marble, t, b);
}

void scan(bead *marble, const tile *t)
{
    if (corner(marble, t, nw) || corner(marble, t, ne) || corner(marble, t, sw))
        return;
    corner(marble, t, se);
}

void facing_corner(bead *marble, const tile *t, char where)
{
    switch (where) {
    case north_west: corner(marble, t, se); break;
    case north_east: corner(marble, t, sw); break;
    case south_east: corner(marble, t, nw); break;
    case south_west: corner(marble, t, ne); break;
    default: break;
    }
}

void side_n(bead *marble, const tile *t, bool sounds)
{
    marble->face_bounce(bead::on_y, t->y - grid::face, bead::keeps_less, sounds);
}

void side_s(bead *marble, const tile *t, bool sounds)
{
    marble->face_bounce(bead::on_y, t->y + grid::face, bead::keeps_more, sounds);
}

void side_w(bead *marble, const tile *t, bool sounds)
{
    marble->face_bounce(bead::on_x, t->x - grid::face, bead::keeps_less, sounds);
}

void side_e(bead *marble, const tile *t, bool sounds)
{
    marble->face_bounce(bead::on_x, t->x + grid::face, bead::keeps_more, sounds);
}

bool channel_east(bead *marble, const tile *t)
{
    return marble->face_bounce(bead::on_x, t->x + grid::channel, bead::keeps_less, false);
}

bool channel_west(bead *marble, const tile *t)
{
    return marble->face_bounce(bead::on_x, t->x - grid::channel, bead::keeps_more, false);
}

bool channel_south(bead *marble, const tile *t)
{
    return marble->face_bounce(bead::on_y, t->y + grid::channel, bead::keeps_less, false);
}

bool channel_north(bead *marble, const tile *t)
{
    return marble->face_bounce(bead::on_y, t->y - grid::channel, bead::keeps_more, false);
}

void slope(bead *marble, const tile *t, float dx, float dy)
{
    int a = (int)std::fabs(marble->x - (float)t->x);
    int b = (int)std::fabs(marble->y - (float)t->y);
    const int fade = 5;
    if (a >= grid::half || b >= grid::half)
        return;
    float strength;
    if (a < grid::half - fade && b < grid::half - fade) {
        strength = 0.1f;
    } else {
        int m = a > b ? a : b;
        strength = (float)((grid::half - m) * 0.1 / fade);
    }
    marble->slope_acc = Vektor(dx * strength, dy * strength);
}

Vektor from_centre(const bead *marble, const tile *t)
{
    Vektor v(marble->x - (float)t->x, marble->y - (float)t->y);
    v.Normalise();
    return v;
}

}  // namespace tile_parts
