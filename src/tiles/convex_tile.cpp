#include "tiles/convex_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

convex_tile::convex_tile(int y, int x) : tile(y, x, (BITMAP *)data1[OBJ_DOME].dat)
{
}

void convex_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
