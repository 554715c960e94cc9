#include "tiles/norm_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"

norm_tile::norm_tile(int y, int x) : tile(y, x, (BITMAP *)data1[OBJ_FLOOR].dat)
{
}

void norm_tile::interfere(bead *marble, char where)
{
    // Plain floor ends the push of the dome, bowl or bumper the marble has just left.
    if (where == 0)
        marble->tile_push = Vektor();
}
