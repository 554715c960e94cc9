#pragma once
#include "tiles/tile.h"

// A bowl: pulls the marble towards its centre.
class concave_tile : public tile {
public:
    concave_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
