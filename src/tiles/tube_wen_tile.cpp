#include "tiles/tube_wen_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"
#include "tiles/tile_parts.h"

tube_wen_tile::tube_wen_tile(int y, int x) : tile(y, x, nullptr)
{
    overlay = (BITMAP *)data1[OBJ_TUBE_WEN].dat;
}

// Open to west, east and north: held no lower than 3 below the axis, the north opening guarded
// by its corner points.
void tube_wen_tile::interfere(bead *marble, char where)
{
    using namespace tile_parts;
    switch (where) {
    case 0:
        if (!channel_south(marble, this))
            corners(marble, this, ne, nw);
        break;
    case 1: corner(marble, this, se); break;
    case 2: side_s(marble, this, false); break;
    case 3: corner(marble, this, sw); break;
    case 4: corners(marble, this, sw, nw); break;
    case 5: corner(marble, this, nw); break;
    case 6: corners(marble, this, ne, nw); break;
    case 7: corner(marble, this, ne); break;
    case 8: corners(marble, this, se, ne); break;
    default: break;
    }
}
