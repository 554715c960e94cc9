#pragma once
#include "tiles/tile.h"

// Plain floor: ends a push under the marble.
class norm_tile : public tile {
public:
    norm_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
