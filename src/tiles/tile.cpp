#include "tiles/tile.h"

#include "platform/grid.h"

tile::tile(int y, int x, BITMAP *picture) : x(x), y(y), picture(picture), overlay(nullptr) {}

void tile::interfere(bead *, char) {}

void tile::draw()
{
    if (BITMAP *under = shown_picture())
        draw_sprite(screen, under, x - grid::half, y - grid::half);
    if (overlay)
        draw_sprite(screen, overlay, x - grid::half, y - grid::half);
}
