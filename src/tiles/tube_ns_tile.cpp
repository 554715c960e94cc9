#include "tiles/tube_ns_tile.h"

#include "marble/bead.h"
#include "tiles/tile_parts.h"

tube_ns_tile::tube_ns_tile(int y, int x) : tile(y, x, nullptr)
{
}

// Seen from a neighbour, the parts facing the marble; in its own cell, the channel.
void tube_ns_tile::interfere(bead *marble, char where)
{
    using namespace tile_parts;
    switch (where) {
    case under:
        if (!channel_east(marble, this))
            channel_west(marble, this);
        break;
    case north: corners(marble, this, se, sw); break;
    case east: side_w(marble, this, true); break;
    case south: corners(marble, this, ne, nw); break;
    case west: side_e(marble, this, true); break;
    default: facing_corner(marble, this, where); break;
    }
}
