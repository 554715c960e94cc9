#include "tiles/shutter_tile.h"

#include "marble/bead.h"

shutter_tile::shutter_tile(int y, int x) : tile(y, x, nullptr)
{
}

// Floor under another picture: ends a push like plain floor does.
void shutter_tile::interfere(bead *marble, char where)
{
    if (where == under)
        marble->tile_push = Vektor();
}
