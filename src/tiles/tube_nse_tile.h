#pragma once
#include "tiles/tile.h"

// Branching tube open to north, south and east.
class tube_nse_tile : public tile {
public:
    tube_nse_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
