#include "field/field.h"

#include <allegro.h>

#include <cstdio>
#include <cstring>

#include "field/tile_kind.h"
#include "platform/grid.h"
#include "platform/text_encoding.h"
#include "tiles/tile.h"

namespace {

// Said where there is a screen to say it on; a board built by a tool without one is refused
// all the same.
void ok_alert(const char *s1, const char *s2, const char *s3)
{
    if (screen)
        alert(s1, s2, s3, "Ok", nullptr, -1, -1);
}

}  // namespace

// The board is the first rows x columns characters of the text, its ring and the cells the
// text does not reach walls (grid::board_code). Start points and flags count on the board only, so
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
    auto code_at = [&](int i, int j) { return grid::board_code(text, given, i, j, h, w); };

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
        ok_alert(L1("Virhe kenttädatassa:"), L1("Lähtöpiste puuttuu."), "");
        status = no_start_point;
        return;
    }
    if (starts > 1) {
        ok_alert(L1("Virhe kenttädatassa:"), L1("Liikaa lähtöpisteitä."), "");
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
            const tile_kind *kind = tile_kind_of(codes[i][j]);
            tile *t = kind ? kind->make(grid::cell_centre(i), grid::cell_centre(j)) : nullptr;
            tiles[i][j] = t;
            if (t && codes[i][j] == 'A')
                start_point = t;
            if (!t) {
                // "-128 99 99" is the longest text a 14 by 14 board can give.
                char where[40];
                std::snprintf(where, sizeof where, "%d %d %d", static_cast<int>(static_cast<signed char>(codes[i][j])), i, j);
                ok_alert("Tuntematon ruutumerkki (koodi rivi sarake):", where, "");
                ok_alert("Ruutua ei voitu luoda.", "", "");
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
