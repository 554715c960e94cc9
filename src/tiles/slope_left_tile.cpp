#include "tiles/slope_left_tile.h"

#include "marble/bead.h"
#include "tiles/tile_parts.h"

slope_left_tile::slope_left_tile(int y, int x) : tile(y, x, nullptr)
{
}

void slope_left_tile::interfere(bead *marble, char where)
{
    (void)where;
    tile_parts::slope(marble, this, -1, 0);
}
