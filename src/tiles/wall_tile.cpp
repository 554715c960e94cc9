#include "tiles/wall_tile.h"

#include "marble/bead.h"
#include "shell/data1.h"
#include "shell/globals.h"
#include "tiles/tile_parts.h"

wall_tile::wall_tile(int y, int x) : tile(y, x, (BITMAP *)data1[OBJ_WALL].dat)
{
}

// Only the part facing the marble's cell is tested.
void wall_tile::interfere(bead *marble, char where)
{
    using namespace tile_parts;
    switch (where) {
    case 1: corner(marble, this, se); break;
    case 2: side_s(marble, this, true); break;
    case 3: corner(marble, this, sw); break;
    case 4: side_w(marble, this, true); break;
    case 5: corner(marble, this, nw); break;
    case 6: side_n(marble, this, true); break;
    case 7: corner(marble, this, ne); break;
    case 8: side_e(marble, this, true); break;
    default: break;
    }
}
