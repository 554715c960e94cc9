#include "tiles/tube_wen_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

tube_wen_tile::tube_wen_tile(int y, int x) : tile(y, x, nullptr)
{
    overlay = (BITMAP *)data1[OBJ_TUBE_WEN].dat;
}

void tube_wen_tile::interfere(bead *marble, char where)
{
    (void)marble;
    (void)where;
}
