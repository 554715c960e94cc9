#include "tiles/tube_x_tile.h"

#include "marble/bead.h"
#include "tiles/tile_parts.h"

tube_x_tile::tube_x_tile(int y, int x) : tile(y, x, nullptr)
{
}

// Open on all four sides: only its corner points stop anything.
void tube_x_tile::interfere(bead *marble, char where)
{
    (void)where;
    tile_parts::scan(marble, this);
}
