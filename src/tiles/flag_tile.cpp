#include "tiles/flag_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

flag_tile::flag_tile(int y, int x) : tile(y, x, (BITMAP *)data1[OBJ_FLAG].dat)
{
    taken = 0;
}

void flag_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
