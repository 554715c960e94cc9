#include "tiles/tube_wen_tile.h"

#include "marble/bead.h"
#include "tiles/tile_parts.h"

tube_wen_tile::tube_wen_tile(int y, int x) : tile(y, x, nullptr)
{
}

// Open to west, east and north: held no lower than 3 below the axis, the north opening guarded
// by its corner points.
void tube_wen_tile::interfere(bead *marble, char where)
{
    using namespace tile_parts;
    switch (where) {
    case under:
        if (!channel_south(marble, this))
            corners(marble, this, ne, nw);
        break;
    case north: side_s(marble, this, false); break;
    case east: corners(marble, this, sw, nw); break;
    case south: corners(marble, this, ne, nw); break;
    case west: corners(marble, this, se, ne); break;
    default: facing_corner(marble, this, where); break;
    }
}
