#include "tiles/tube_nsw_tile.h"

#include "marble/bead.h"
#include "tiles/tile_parts.h"

tube_nsw_tile::tube_nsw_tile(int y, int x) : tile(y, x, nullptr)
{
}

// Open to north, south and west: closed only on the east.
void tube_nsw_tile::interfere(bead *marble, char where)
{
    if (where == under && tile_parts::channel_east(marble, this))
        return;
    if (where == west)
        tile_parts::side_e(marble, this, false);
    else
        tile_parts::scan(marble, this);
}
