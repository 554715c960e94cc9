#include "tiles/tube_ns_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

tube_ns_tile::tube_ns_tile(int y, int x) : tile(y, x, nullptr)
{
    overlay = (BITMAP *)data1[OBJ_TUBE_NS].dat;
}

void tube_ns_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
