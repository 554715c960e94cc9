#include "tiles/slope_down_tile.h"

#include "marble/bead.h"
#include "tiles/tile_parts.h"

slope_down_tile::slope_down_tile(int y, int x) : tile(y, x, nullptr)
{
}

void slope_down_tile::interfere(bead *marble, char where)
{
    (void)where;
    tile_parts::slope(marble, this, 0, 1);
}
