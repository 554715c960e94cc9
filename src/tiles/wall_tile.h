#pragma once
#include "tiles/tile.h"

// A solid block: four faces and four corner points.
class wall_tile : public tile {
public:
    wall_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
