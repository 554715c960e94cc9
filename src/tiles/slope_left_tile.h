#pragma once
#include "tiles/tile.h"

// Draws the marble towards the left.
class slope_left_tile : public tile {
public:
    slope_left_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
