#include "tiles/tube_wes_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

tube_wes_tile::tube_wes_tile(int y, int x) : tile(y, x, nullptr)
{
    overlay = (BITMAP *)data1[OBJ_TUBE_WES].dat;
}

void tube_wes_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
