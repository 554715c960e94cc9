#pragma once
#include "tiles/tile.h"

// Picked up when the marble passes; becomes the restart point.
class flag_tile : public tile {
public:
    char taken;
    BITMAP *taken_picture = nullptr;  // the floor it leaves, shown once taken

    flag_tile(int y, int x);
    void interfere(bead *marble, char where) override;
    BITMAP *shown_picture() const override;
};
