#include "tiles/tube_ns_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"
#include "tiles/tile_parts.h"

tube_ns_tile::tube_ns_tile(int y, int x) : tile(y, x, nullptr)
{
    overlay = (BITMAP *)data1[OBJ_TUBE_NS].dat;
}

// Seen from a neighbour, the parts facing the marble; in its own cell, the channel.
void tube_ns_tile::interfere(bead *marble, char where)
{
    using namespace tile_parts;
    switch (where) {
    case 0:
        if (!channel_east(marble, this))
            channel_west(marble, this);
        break;
    case 1: corner(marble, this, se); break;
    case 2: corners(marble, this, se, sw); break;
    case 3: corner(marble, this, sw); break;
    case 4: side_w(marble, this, true); break;
    case 5: corner(marble, this, nw); break;
    case 6: corners(marble, this, ne, nw); break;
    case 7: corner(marble, this, ne); break;
    case 8: side_e(marble, this, true); break;
    default: break;
    }
}
