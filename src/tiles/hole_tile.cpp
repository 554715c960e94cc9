#include "tiles/hole_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

hole_tile::hole_tile(int y, int x) : tile(y, x, (BITMAP *)data1[OBJ_HOLE].dat)
{
}

void hole_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
