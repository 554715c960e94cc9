#include "tiles/tube_wes_tile.h"

#include "marble/bead.h"
#include "tiles/tile_parts.h"

tube_wes_tile::tube_wes_tile(int y, int x) : tile(y, x, nullptr)
{
}

// Open to west, east and south: held no higher than 3 above the axis, the south opening
// guarded by its corner points.
void tube_wes_tile::interfere(bead *marble, char where)
{
    using namespace tile_parts;
    switch (where) {
    case under:
        if (!channel_north(marble, this))
            corners(marble, this, se, sw);
        break;
    case north: corners(marble, this, se, sw); break;
    case east: corners(marble, this, sw, nw); break;
    case south: side_n(marble, this, false); break;
    case west: corners(marble, this, se, ne); break;
    default: facing_corner(marble, this, where); break;
    }
}
