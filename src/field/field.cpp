#include "field/field.h"

#include <allegro.h>

#include <cstdio>
#include <cstring>

#include "field/grid.h"
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

// The one table of level codes: the tile for a code, or null for an invalid one.
tile *make_tile(char code, int y, int x)
{
    switch (code) {
    case '#': return new softy_tile(y, x);
    case '*': return new wall_tile(y, x);
    case '+': return new tube_x_tile(y, x);
    case '-': return new tube_we_tile(y, x);
    case '.': return new norm_tile(y, x);
    case 'A': return new start_tile(y, x);
    case 'B': return new bumper_tile(y, x);
    case 'C': return new concave_tile(y, x);
    case 'E': return new tube_nse_tile(y, x);
    case 'F': return new flag_tile(y, x);
    case 'I': return new tube_ns_tile(y, x);
    case 'N': return new tube_wen_tile(y, x);
    case 'O': return new hole_tile(y, x);
    case 'S': return new tube_wes_tile(y, x);
    case 'V': return new convex_tile(y, x);
    case 'W': return new tube_nsw_tile(y, x);
    case 'X': return new shutter_tile(y, x);
    case 'e': return new slope_right_tile(y, x);
    case 'n': return new slope_up_tile(y, x);
    case 's': return new slope_down_tile(y, x);
    case 'w': return new slope_left_tile(y, x);
    default: return nullptr;
    }
}

void ok_alert(const char *s1, const char *s2, const char *s3)
{
    alert(s1, s2, s3, "Ok", nullptr, -1, -1);
}

}  // namespace

// The board is the first rows x columns characters of the text, cells the text does not reach
// are walls, and so is the whole outer ring: a text from a malformed file (a row longer than 14
// characters shifts the rest) can bring other codes there, and the marble's neighbour scan
// relies on the ring to stay on the board. Start points and flags count on the board only, so
// a run never starts without a start tile nor waits for a flag that no cell shows.
field::field(const char *text, int r, int c)
    : columns(c), rows(r), tiles(nullptr), start_point(nullptr), codes(nullptr), status(built), flag_count(0)
{
    if (!text)
        text = "";
    const int h = rows > 0 ? rows : 0;
    const int w = columns > 0 ? columns : 0;
    const size_t cells = static_cast<size_t>(h) * static_cast<size_t>(w);
    const size_t len = std::strlen(text);
    const size_t given = len < cells ? len : cells;
    auto code_at = [&](int i, int j) {
        size_t k = static_cast<size_t>(i) * w + j;
        bool ring = i == 0 || j == 0 || i == h - 1 || j == w - 1;
        return ring || k >= given ? '*' : text[k];
    };

    int starts = 0;
    for (int i = 0; i < h; i++) {
        for (int j = 0; j < w; j++) {
            char code = code_at(i, j);
            if (code == 'A')
                starts++;
            else if (code == 'F')
                flag_count++;
        }
    }
    if (starts == 0) {
        ok_alert("Virhe kenttädatassa:", "Lähtöpiste puuttuu.", "");
        status = no_start_point;
        return;
    }
    if (starts > 1) {
        ok_alert("Virhe kenttädatassa:", "Liikaa lähtöpisteitä.", "");
        status = several_start_points;
        return;
    }

    codes = new char *[h];
    tiles = new tile **[h];
    for (int i = 0; i < h; i++) {
        codes[i] = new char[w];
        tiles[i] = new tile *[w]();
        for (int j = 0; j < w; j++)
            codes[i][j] = code_at(i, j);
    }
    init_tiles();
}

field::~field()
{
    if (tiles) {
        for (int i = 0; i < rows; i++) {
            for (int j = 0; j < columns; j++)
                delete tiles[i][j];
            delete[] tiles[i];
        }
        delete[] tiles;
    }
    if (codes) {
        for (int i = 0; i < rows; i++)
            delete[] codes[i];
        delete[] codes;
    }
}

void field::init_tiles()
{
    if (!tiles || !codes)
        return;
    for (int i = 0; i < rows; i++) {
        for (int j = 0; j < columns; j++) {
            delete tiles[i][j];
            tile *t = make_tile(codes[i][j], grid::cell_centre(i), grid::cell_centre(j));
            tiles[i][j] = t;
            if (t && codes[i][j] == 'A')
                start_point = t;
            if (!t) {
                // "-128 99 99" is the longest text a 14 by 14 board can give.
                char where[40];
                std::snprintf(where, sizeof where, "%d %d %d", static_cast<int>(static_cast<signed char>(codes[i][j])), i, j);
                ok_alert("Error in char tiles[][]", where, "");
                ok_alert("tileallocating error", "", "");
            }
        }
    }
}

void field::test_draw()
{
    if (!tiles)
        return;
    for (int i = 0; i < rows; i++)
        for (int j = 0; j < columns; j++)
            if (tiles[i][j])
                tiles[i][j]->draw();
}
