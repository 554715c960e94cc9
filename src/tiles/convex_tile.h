#pragma once
#include "tiles/tile.h"

// A dome: pushes the marble away from its centre.
class convex_tile : public tile {
public:
    convex_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
