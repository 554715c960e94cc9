#include "tiles/tube_we_tile.h"

#include "marble/bead.h"
#include "tiles/tile_parts.h"

tube_we_tile::tube_we_tile(int y, int x) : tile(y, x, nullptr)
{
}

// Seen from a neighbour, the parts facing the marble; in its own cell, the channel.
void tube_we_tile::interfere(bead *marble, char where)
{
    using namespace tile_parts;
    switch (where) {
    case under:
        if (!channel_north(marble, this))
            channel_south(marble, this);
        break;
    case north: side_s(marble, this, false); break;
    case east: corners(marble, this, sw, nw); break;
    case south: side_n(marble, this, false); break;
    case west: corners(marble, this, se, ne); break;
    default: facing_corner(marble, this, where); break;
    }
}
