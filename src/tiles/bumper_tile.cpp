#include "tiles/bumper_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

bumper_tile::bumper_tile(int y, int x) : tile(y, x, (BITMAP *)data1[OBJ_FLOOR].dat)
{
    overlay = (BITMAP *)data1[OBJ_BUMPER_KNOB].dat;
    fired = 0;
}

void bumper_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
