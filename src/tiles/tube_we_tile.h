#pragma once
#include "tiles/tile.h"

// Straight tube open to west and east.
class tube_we_tile : public tile {
public:
    tube_we_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
