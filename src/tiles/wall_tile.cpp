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
    case north: side_s(marble, this, true); break;
    case east: side_w(marble, this, true); break;
    case south: side_n(marble, this, true); break;
    case west: side_e(marble, this, true); break;
    default: facing_corner(marble, this, where); break;
    }
}
