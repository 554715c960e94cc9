#include "tiles/tube_x_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

tube_x_tile::tube_x_tile(int y, int x) : tile(y, x, nullptr)
{
    overlay = (BITMAP *)data1[OBJ_TUBE_X].dat;
}

void tube_x_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
