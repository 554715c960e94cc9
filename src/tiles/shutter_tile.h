#pragma once
#include "tiles/tile.h"

// A shutter; looks different, acts like floor.
class shutter_tile : public tile {
public:
    shutter_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
