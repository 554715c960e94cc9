#pragma once
#include "tiles/tile.h"

// Branching tube open to north, south and west.
class tube_nsw_tile : public tile {
public:
    tube_nsw_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
