#include "tiles/tile_parts.h"

#include <cmath>

#include "marble/bead.h"
#include "tiles/tile.h"

namespace tile_parts {

bool corner(bead *marble, const tile *t, corner_point p)
{
    int kx = (p == nw || p == sw) ? t->x - 20 : t->x + 20;
    int ky = (p == nw || p == ne) ? t->y - 20 : t->y + 20;
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

void side_n(bead *marble, const tile *t, bool sounds)
{
    marble->face_bounce(bead::on_y, t->y - 36, bead::keeps_less, sounds);
}

void side_s(bead *marble, const tile *t, bool sounds)
{
    marble->face_bounce(bead::on_y, t->y + 36, bead::keeps_more, sounds);
}

void side_w(bead *marble, const tile *t, bool sounds)
{
    marble->face_bounce(bead::on_x, t->x - 36, bead::keeps_less, sounds);
}

void side_e(bead *marble, const tile *t, bool sounds)
{
    marble->face_bounce(bead::on_x, t->x + 36, bead::keeps_more, sounds);
}

bool channel_east(bead *marble, const tile *t)
{
    return marble->face_bounce(bead::on_x, t->x + 3, bead::keeps_less, false);
}

bool channel_west(bead *marble, const tile *t)
{
    return marble->face_bounce(bead::on_x, t->x - 3, bead::keeps_more, false);
}

bool channel_south(bead *marble, const tile *t)
{
    return marble->face_bounce(bead::on_y, t->y + 3, bead::keeps_less, false);
}

bool channel_north(bead *marble, const tile *t)
{
    return marble->face_bounce(bead::on_y, t->y - 3, bead::keeps_more, false);
}

void slope(bead *marble, const tile *t, float dx, float dy)
{
    int a = (int)std::fabs(marble->x - (float)t->x);
    int b = (int)std::fabs(marble->y - (float)t->y);
    if (a > 19 || b > 19)
        return;
    float strength;
    if (a <= 14 && b <= 14) {
        strength = 0.1f;
    } else {
        int m = a > b ? a : b;
        strength = (float)((20 - m) * 0.1 / 5);
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
