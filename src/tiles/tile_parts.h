#pragma once
#include "geometry/vektor.h"

class bead;
class tile;

// What the marble meets on a tile, measured from the tile's centre (x, y): the corner points
// at (x ± 20, y ± 20), the closed sides 36 from the centre (20 to the side plus the marble's
// radius), the tube channel 3 either side of the axis, and the forces of slopes and round tiles.
// Walls and every tube are put together from these, on the marble's own face and corner bounce.
namespace tile_parts {

enum corner_point { nw, ne, sw, se };

// The corner test at one point; true if the marble touched it.
bool corner(bead *marble, const tile *t, corner_point p);
// Tests a, and b only if a was not touched.
void corners(bead *marble, const tile *t, corner_point a, corner_point b);
// NW, NE, SW, SE in this order; the first one touched bounces the marble.
void scan(bead *marble, const tile *t);
// A tile diagonal to the marble's cell (`where`) tests the one corner point facing it; for
// any other `where` nothing.
void facing_corner(bead *marble, const tile *t, char where);

// Closed sides: the line y − 36 (north), y + 36 (south), x − 36 (west), x + 36 (east), each
// keeping the marble on the far side from the tile.
void side_n(bead *marble, const tile *t, bool sounds);
void side_s(bead *marble, const tile *t, bool sounds);
void side_w(bead *marble, const tile *t, bool sounds);
void side_e(bead *marble, const tile *t, bool sounds);

// Channel bounds inside a tube, silent; true if the bound held the marble.
bool channel_east(bead *marble, const tile *t);   // x not greater than x + 3
bool channel_west(bead *marble, const tile *t);   // x not less than x − 3
bool channel_south(bead *marble, const tile *t);  // y not greater than y + 3
bool channel_north(bead *marble, const tile *t);  // y not less than y − 3

// A slope with unit direction (dx, dy): full strength 0.1 over the middle, fading over the
// outer five pixels of its square.
void slope(bead *marble, const tile *t, float dx, float dy);

// The unit vector from the tile's centre towards the marble's centre; (0, 0) on the centre.
Vektor from_centre(const bead *marble, const tile *t);

}  // namespace tile_parts
