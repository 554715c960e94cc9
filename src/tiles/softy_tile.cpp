#include "tiles/softy_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

softy_tile::softy_tile(int y, int x) : tile(y, x, (BITMAP *)data1[OBJ_CLOTH].dat)
{
}

void softy_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
