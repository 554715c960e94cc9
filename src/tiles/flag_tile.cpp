#include "tiles/flag_tile.h"

#include "marble/bead.h"

flag_tile::flag_tile(int y, int x) : tile(y, x, nullptr)
{
    taken = 0;
}

void flag_tile::interfere(bead *marble, char where)
{
    (void)where;
    if (taken || marble->distance(y, x) >= 25)
        return;
    taken = 1;
    marble->flags_left--;
    marble->restart_tile = this;
    marble->events.flag_taken = true;
}

BITMAP *flag_tile::shown_picture() const
{
    return taken ? taken_picture : picture;
}
