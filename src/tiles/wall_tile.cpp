#include "tiles/wall_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

wall_tile::wall_tile(int y, int x) : tile(y, x, (BITMAP *)data1[OBJ_WALL].dat)
{
}

void wall_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
