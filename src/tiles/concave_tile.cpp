#include "tiles/concave_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

concave_tile::concave_tile(int y, int x) : tile(y, x, (BITMAP *)data1[OBJ_BOWL].dat)
{
}

void concave_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
