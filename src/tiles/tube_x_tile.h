#pragma once
#include "tiles/tile.h"

// Crossing, open on all four sides.
class tube_x_tile : public tile {
public:
    tube_x_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
