#include "tiles/convex_tile.h"

#include "marble/bead.h"
#include "tiles/tile_parts.h"

convex_tile::convex_tile(int y, int x) : tile(y, x, nullptr)
{
}

// A dome: pushes the marble away from the centre, d / 100 at distance d, nothing from 18 on.
void convex_tile::interfere(bead *marble, char where)
{
    if (where != under)
        return;
    float d = marble->distance(y, x);
    if (d < 18)
        marble->tile_push = tile_parts::from_centre(marble, this) * (d / 100);
    else
        marble->tile_push = Vektor();
}
