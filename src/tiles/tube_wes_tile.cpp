#include "tiles/tube_wes_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"
#include "tiles/tile_parts.h"

tube_wes_tile::tube_wes_tile(int y, int x) : tile(y, x, nullptr)
{
    overlay = (BITMAP *)data1[OBJ_TUBE_WES].dat;
}

// Open to west, east and south: held no higher than 3 above the axis, the south opening
// guarded by its corner points.
void tube_wes_tile::interfere(bead *marble, char where)
{
    using namespace tile_parts;
    switch (where) {
    case 0:
        if (!channel_north(marble, this))
            corners(marble, this, se, sw);
        break;
    case 1: corner(marble, this, se); break;
    case 2: corners(marble, this, se, sw); break;
    case 3: corner(marble, this, sw); break;
    case 4: corners(marble, this, sw, nw); break;
    case 5: corner(marble, this, nw); break;
    case 6: side_n(marble, this, false); break;
    case 7: corner(marble, this, ne); break;
    case 8: corners(marble, this, se, ne); break;
    default: break;
    }
}
