#pragma once
#include "tiles/tile.h"

// Draws the marble towards the right.
class slope_right_tile : public tile {
public:
    slope_right_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
