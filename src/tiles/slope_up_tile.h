#pragma once
#include "tiles/tile.h"

// Draws the marble towards the top of the screen.
class slope_up_tile : public tile {
public:
    slope_up_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
