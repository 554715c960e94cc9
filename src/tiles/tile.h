#pragma once
#include <allegro.h>
#include <cstdint>

class bead;

// Where a cell lies from the marble's cell: under the marble, or one of the eight around it.
enum where : char { under, north_west, north, north_east, east, south_east, south, south_west, west };

// One cell of the board. Pictures belong to the data file and are given by the tile's kind
// (field/tile_kind.h); a tile owns nothing.
class tile {
public:
    int32_t x;        // centre, board pixels
    int32_t y;
    BITMAP *picture;  // drawn under the marble, may be null
    BITMAP *overlay;  // drawn over the marble, may be null

    // Note the order: the centre's y comes first.
    tile(int y, int x, BITMAP *picture);
    virtual ~tile() = default;

    // Acts on the marble; `where` says where this cell lies from the marble's cell.
    virtual void interfere(bead *marble, char where);
    // What is drawn under the marble now: a tile's picture follows its state.
    virtual BITMAP *shown_picture() const { return picture; }
    virtual void draw();
};
