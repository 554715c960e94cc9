#include "tiles/wall_tile.h"

#include "marble/bead.h"
#include "tiles/tile_parts.h"

wall_tile::wall_tile(int y, int x) : tile(y, x, nullptr)
{
}

// Only the part facing the marble's cell is tested.
void wall_tile::interfere(bead *marble, char where)
{
    using namespace tile_parts;
    switch (where) {
    case north_west: corner(marble, this, se); break;
    case north: side_s(marble, this, true); break;
    case north_east: corner(marble, this, sw); break;
    case east: side_w(marble, this, true); break;
    case south_east: corner(marble, this, nw); break;
    case south: side_n(marble, this, true); break;
    case south_west: corner(marble, this, ne); break;
    case west: side_e(marble, this, true); break;
    default: break;
    }
}
