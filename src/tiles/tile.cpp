#include "tiles/tile.h"

tile::tile(int y, int x, BITMAP *picture) : x(x), y(y), picture(picture), overlay(nullptr) {}

void tile::interfere(bead *, char) {}

void tile::draw()
{
    if (picture)
        draw_sprite(screen, picture, x - 20, y - 20);
    if (overlay)
        draw_sprite(screen, overlay, x - 20, y - 20);
}
