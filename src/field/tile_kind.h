#pragma once

class tile;

// The sides of a cell through which the marble cannot enter it.
enum closed_side : unsigned char {
    closed_north = 1,
    closed_south = 2,
    closed_west = 4,
    closed_east = 8,
    closed_all = 15,
};

// One kind of tile: its code in level texts, its pictures (data file objects, no_picture for
// none), how it is built and its closed sides. tile_kinds is the one table of them: the field builds from it,
// the editor shows its palette from it, and the tests and tools read it.
struct tile_kind {
    char code;
    int palette;    // the kind in the editor's palette and help
    int picture;    // drawn under the marble
    int overlay;    // drawn over the marble
    tile *(*build)(int y, int x);
    unsigned char closed = 0;  // closed_side bits: a wall's four, a tube's closed ones

    // A tile of this kind centred at (x, y) with its pictures; the caller owns it.
    tile *make(int y, int x) const;
};

constexpr int no_picture = -1;
constexpr int tile_kind_count = 21;
extern const tile_kind tile_kinds[tile_kind_count];

// The kind a level code stands for; null for a code no tile has.
const tile_kind *tile_kind_of(char code);
