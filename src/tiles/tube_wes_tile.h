#pragma once
#include "tiles/tile.h"

// Branching tube open to west, east and south.
class tube_wes_tile : public tile {
public:
    tube_wes_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
