#include "tiles/tube_nsw_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

tube_nsw_tile::tube_nsw_tile(int y, int x) : tile(y, x, nullptr)
{
    overlay = (BITMAP *)data1[OBJ_TUBE_NSW].dat;
}

void tube_nsw_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
