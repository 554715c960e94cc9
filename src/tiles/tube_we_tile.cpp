#include "tiles/tube_we_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

tube_we_tile::tube_we_tile(int y, int x) : tile(y, x, nullptr)
{
    overlay = (BITMAP *)data1[OBJ_TUBE_WE].dat;
}

void tube_we_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
