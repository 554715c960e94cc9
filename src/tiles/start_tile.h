#pragma once
#include "tiles/tile.h"

// The floor where the marble starts.
class start_tile : public tile {
public:
    start_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
