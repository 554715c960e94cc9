#include "tiles/flag_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

flag_tile::flag_tile(int y, int x) : tile(y, x, nullptr)
{
    taken = 0;
}

void flag_tile::interfere(bead *marble, char where)
{
    (void)where;
    if (taken || marble->distance(y, x) >= 25)
        return;
    taken = 1;
    marble->flags_left--;
    picture = (BITMAP *)data1[OBJ_FLOOR].dat;
    marble->restart_tile = this;
    play_sample((SAMPLE *)data1[OBJ_SND_FLAG].dat, 255, 128, 1000, 0);
}
