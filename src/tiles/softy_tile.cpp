#include "tiles/softy_tile.h"

#include "marble/bead.h"

softy_tile::softy_tile(int y, int x) : tile(y, x, nullptr)
{
}

// The own cell is called last, so a marble on cloth always ends the step with the cloth
// factor, and the cloth it has just left restores the normal one as a neighbour.
void softy_tile::interfere(bead *marble, char where)
{
    if (where != under)
        marble->cur_friction = marble->friction;
    else if (marble->distance(y, x) < 35)
        marble->cur_friction = marble->softfriction;
}
