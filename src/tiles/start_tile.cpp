#include "tiles/start_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

start_tile::start_tile(int y, int x) : tile(y, x, (BITMAP *)data1[OBJ_FLOOR].dat)
{
}

void start_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
