#pragma once
#include "tiles/tile.h"

// Draws the marble towards the bottom.
class slope_down_tile : public tile {
public:
    slope_down_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
