#pragma once
#include "tiles/tile.h"

// Straight tube open to north and south.
class tube_ns_tile : public tile {
public:
    tube_ns_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
