#pragma once
#include "tiles/tile.h"

// Branching tube open to west, east and north.
class tube_wen_tile : public tile {
public:
    tube_wen_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
