#include "tiles/hole_tile.h"

#include "marble/bead.h"

hole_tile::hole_tile(int y, int x) : tile(y, x, nullptr)
{
}

// Every hole near the marble overwrites the pull, so the one called last decides.
void hole_tile::interfere(bead *marble, char where)
{
    float d = marble->distance(y, x);
    if (where == under)
        marble->tile_push = Vektor();
    if (d > 23) {
        marble->hole_pull = Vektor();
    } else if (d < 8) {
        marble->state = bead::fallen;
    } else {
        Vektor to_centre((float)x - marble->x, (float)y - marble->y);
        to_centre.Normalise();
        marble->hole_pull = to_centre * (d / 3);
    }
}
