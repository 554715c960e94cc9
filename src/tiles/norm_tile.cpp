#include "tiles/norm_tile.h"

#include "marble/bead.h"

norm_tile::norm_tile(int y, int x) : tile(y, x, nullptr)
{
}

void norm_tile::interfere(bead *marble, char where)
{
    // Plain floor ends the push of the dome, bowl or bumper the marble has just left.
    if (where == under)
        marble->tile_push = Vektor();
}
