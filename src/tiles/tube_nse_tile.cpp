#include "tiles/tube_nse_tile.h"

#include "marble/bead.h"
#include "tiles/tile_parts.h"

tube_nse_tile::tube_nse_tile(int y, int x) : tile(y, x, nullptr)
{
}

// Open to north, south and east: closed only on the west.
void tube_nse_tile::interfere(bead *marble, char where)
{
    if (where == under && tile_parts::channel_west(marble, this))
        return;
    if (where == east)
        tile_parts::side_w(marble, this, false);
    else
        tile_parts::scan(marble, this);
}
