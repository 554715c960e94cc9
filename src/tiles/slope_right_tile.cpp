#include "tiles/slope_right_tile.h"

#include "marble/bead.h"
#include "tiles/tile_parts.h"

slope_right_tile::slope_right_tile(int y, int x) : tile(y, x, nullptr)
{
}

void slope_right_tile::interfere(bead *marble, char where)
{
    (void)where;
    tile_parts::slope(marble, this, 1, 0);
}
