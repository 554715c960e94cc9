#include "tiles/tube_nse_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

tube_nse_tile::tube_nse_tile(int y, int x) : tile(y, x, nullptr)
{
    overlay = (BITMAP *)data1[OBJ_TUBE_NSE].dat;
}

void tube_nse_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
