#include "tiles/slope_right_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"
#include "tiles/tile_parts.h"

slope_right_tile::slope_right_tile(int y, int x) : tile(y, x, (BITMAP *)data1[OBJ_SLOPE_RIGHT].dat)
{
}

void slope_right_tile::interfere(bead *marble, char where)
{
    (void)where;
    tile_parts::slope(marble, this, 1, 0);
}
