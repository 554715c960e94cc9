#pragma once
#include "tiles/tile.h"

// Draws the marble in; it falls and restarts.
class hole_tile : public tile {
public:
    hole_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
