#pragma once
#include "tiles/tile.h"

// Kicks the marble away once per visit.
class bumper_tile : public tile {
public:
    char fired;

    bumper_tile(int y, int x);
    void interfere(bead *marble, char where) override;
};
