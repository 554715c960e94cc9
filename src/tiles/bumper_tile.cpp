#include "tiles/bumper_tile.h"

#include "marble/bead.h"
#include "tiles/tile_parts.h"

bumper_tile::bumper_tile(int y, int x) : tile(y, x, nullptr)
{
    fired = 0;
}

// One kick per visit: the bumper is re-armed whenever the marble is in a neighbouring cell.
void bumper_tile::interfere(bead *marble, char where)
{
    if (where != under) {
        fired = 0;
        return;
    }
    if (marble->distance(y, x) < 25 && !fired) {
        Vektor away = tile_parts::from_centre(marble, this);
        if (away.x == 0 && away.y == 0) {
            // Dead on the knob: thrown back the way it came, as a marble a hair short of the
            // centre would be; a marble at rest goes north.
            away = marble->speed * -1.0f;
            away.Normalise();
            if (away.x == 0 && away.y == 0)
                away = Vektor(0, -1);
        }
        marble->tile_push = away * 6.0f;
        marble->events.bumper_kick = true;
        fired = 1;
    } else {
        marble->tile_push = Vektor();
    }
}
