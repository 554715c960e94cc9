#include "tiles/concave_tile.h"

#include "marble/bead.h"
#include "tiles/tile_parts.h"

concave_tile::concave_tile(int y, int x) : tile(y, x, nullptr)
{
}

// A bowl: pulls the marble towards the centre, d / 100 at distance d, nothing from 18 on.
void concave_tile::interfere(bead *marble, char where)
{
    if (where != under)
        return;
    float d = marble->distance(y, x);
    if (d < 18)
        marble->tile_push = tile_parts::from_centre(marble, this) * (d / -100);
    else
        marble->tile_push = Vektor();
}
