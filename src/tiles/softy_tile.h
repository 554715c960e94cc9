#pragma once
#include "tiles/tile.h"

// Cloth: switches the marble's friction.
class softy_tile : public tile {
public:
    softy_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
