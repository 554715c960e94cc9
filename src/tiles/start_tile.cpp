#include "tiles/start_tile.h"

#include "marble/bead.h"

start_tile::start_tile(int y, int x) : tile(y, x, nullptr)
{
}

// The start square is floor: it ends a push like plain floor does, or a bumper's kick would
// keep adding 6 pixels per frame for as long as the marble crossed it.
void start_tile::interfere(bead *marble, char where)
{
    if (where == under)
        marble->tile_push = Vektor();
}
