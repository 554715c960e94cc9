#include "field/tile_kind.h"

#include "platform/data1.h"
#include "platform/globals.h"
#include "tiles/bumper_tile.h"
#include "tiles/concave_tile.h"
#include "tiles/convex_tile.h"
#include "tiles/flag_tile.h"
#include "tiles/hole_tile.h"
#include "tiles/norm_tile.h"
#include "tiles/shutter_tile.h"
#include "tiles/slope_down_tile.h"
#include "tiles/slope_left_tile.h"
#include "tiles/slope_right_tile.h"
#include "tiles/slope_up_tile.h"
#include "tiles/softy_tile.h"
#include "tiles/start_tile.h"
#include "tiles/tile.h"
#include "tiles/tube_ns_tile.h"
#include "tiles/tube_nse_tile.h"
#include "tiles/tube_nsw_tile.h"
#include "tiles/tube_we_tile.h"
#include "tiles/tube_wen_tile.h"
#include "tiles/tube_wes_tile.h"
#include "tiles/tube_x_tile.h"
#include "tiles/wall_tile.h"

namespace {

template <class T>
tile *build(int y, int x)
{
    return new T(y, x);
}

// No picture without the data file: a board stepped without it is never drawn.
BITMAP *object(int n)
{
    return n == no_picture || !data1 ? nullptr : static_cast<BITMAP *>(data1[n].dat);
}

}  // namespace

// One row a line, in this shape: tools/game_tables.py reads the table from here.
const tile_kind tile_kinds[tile_kind_count] = {
    // code palette          picture          overlay          build                closed
    {'#', OBJ_CLOTH,       OBJ_CLOTH,       no_picture,      build<softy_tile>},
    {'*', OBJ_WALL,        OBJ_WALL,        no_picture,      build<wall_tile>, closed_all},
    {'+', OBJ_TUBE_X,      no_picture,      OBJ_TUBE_X,      build<tube_x_tile>},
    {'-', OBJ_TUBE_WE,     no_picture,      OBJ_TUBE_WE,     build<tube_we_tile>, closed_north | closed_south},
    {'.', OBJ_FLOOR,       OBJ_FLOOR,       no_picture,      build<norm_tile>},
    {'A', OBJ_START,       OBJ_FLOOR,       no_picture,      build<start_tile>},
    {'B', OBJ_BUMPER_TOOL, OBJ_FLOOR,       OBJ_BUMPER_KNOB, build<bumper_tile>},
    {'C', OBJ_BOWL,        OBJ_BOWL,        no_picture,      build<concave_tile>},
    {'E', OBJ_TUBE_NSE,    no_picture,      OBJ_TUBE_NSE,    build<tube_nse_tile>, closed_west},
    {'F', OBJ_FLAG,        OBJ_FLAG,        no_picture,      build<flag_tile>},
    {'I', OBJ_TUBE_NS,     no_picture,      OBJ_TUBE_NS,     build<tube_ns_tile>, closed_west | closed_east},
    {'N', OBJ_TUBE_WEN,    no_picture,      OBJ_TUBE_WEN,    build<tube_wen_tile>, closed_south},
    {'O', OBJ_HOLE,        OBJ_HOLE,        no_picture,      build<hole_tile>},
    {'S', OBJ_TUBE_WES,    no_picture,      OBJ_TUBE_WES,    build<tube_wes_tile>, closed_north},
    {'V', OBJ_DOME,        OBJ_DOME,        no_picture,      build<convex_tile>},
    {'W', OBJ_TUBE_NSW,    no_picture,      OBJ_TUBE_NSW,    build<tube_nsw_tile>, closed_east},
    {'X', OBJ_SHUTTER,     OBJ_SHUTTER,     no_picture,      build<shutter_tile>},
    {'e', OBJ_SLOPE_RIGHT, OBJ_SLOPE_RIGHT, no_picture,      build<slope_right_tile>},
    {'n', OBJ_SLOPE_UP,    OBJ_SLOPE_UP,    no_picture,      build<slope_up_tile>},
    {'s', OBJ_SLOPE_DOWN,  OBJ_SLOPE_DOWN,  no_picture,      build<slope_down_tile>},
    {'w', OBJ_SLOPE_LEFT,  OBJ_SLOPE_LEFT,  no_picture,      build<slope_left_tile>},
};

tile *tile_kind::make(int y, int x) const
{
    tile *t = build(y, x);
    t->picture = object(picture);
    t->overlay = object(overlay);
    if (code == 'F')
        static_cast<flag_tile *>(t)->taken_picture = object(OBJ_FLOOR);
    return t;
}

const tile_kind *tile_kind_of(char code)
{
    for (const tile_kind &k : tile_kinds)
        if (k.code == code)
            return &k;
    return nullptr;
}
