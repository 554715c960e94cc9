// The resource data file: any bytes as data1.dat, through the start-up's walk, load and check.
// A file the check lets through is then used as the game uses it: every tile drawn, the
// marble rolled and drawn (a fall included), both fonts, the palette, the samples and music
// handed on. A crash there means the check let through a file the game cannot use.
#include <allegro.h>

#include <cstdint>
#include <string>
#include <vector>

#include "field/field.h"
#include "fuzz_support.h"
#include "marble/bead.h"
#include "platform/data1.h"
#include "platform/data_check.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "platform/text_encoding.h"
#include "support/fakes.h"
#include "support/levels.h"
#include "tiles/tile.h"

namespace {

// Every tile kind; the marble starts beside a hole, so the roll shows a fall.
std::string every_tile_beside_a_hole()
{
    std::vector<std::string> rows = levels::every_tile();
    rows[1][2] = 'O';
    return levels::text_of(rows);
}
const std::string every_tile = every_tile_beside_a_hole();

DATAFILE *game_data;

void use(DATAFILE *dat)
{
    data1 = dat;
    FONT *saved_font = font;
    {
        field f(every_tile.c_str(), grid::cells, grid::cells);
        f.test_draw();
        bead b;
        const uint8_t east[] = {40, 0};
        fuzz::roll(b, &f, east, sizeof east, 60);
        draw_sprite(screen, b.sprite, (int)b.x - grid::half, (int)b.y - grid::half);
        // The ghost as a run draws it, half seen.
        set_trans_blender(0, 0, 0, 136);
        draw_trans_sprite(screen, (BITMAP *)data1[OBJ_GHOST].dat, (int)b.x - grid::half, (int)b.y - grid::half);
    }
    for (int k : {OBJ_FONT_MENU, OBJ_FONT_TEXT}) {
        font = (FONT *)data1[k].dat;
        textout_ex(screen, font, L1("Äänet ja musiikki"), 10, 10, makecol(0, 0, 0), -1);
        text_length(font, L1("Lähtöpiste"));
    }
    font = saved_font;
    set_palette((RGB *)data1[OBJ_PALETTE].dat);
    play_midi((MIDI *)data1[OBJ_MIDI_RUN].dat, TRUE);
    for (int k = 0; k < OBJ_COUNT; k++)
        if (data1_kind(k) == DAT_BITMAP)
            draw_sprite(screen, (BITMAP *)data1[k].dat, 100, 100);
    data1 = game_data;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::setup();
    game_data = data1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fake::reset();
    const std::string path = fuzz::temp_path("fuzzed.dat");
    fuzz::write_bytes(path, data, size);
    // As start-up does: only a file whose objects add up is loaded.
    DATAFILE *dat = data1_file_state(path.c_str()) == data1_file::whole ? load_datafile(path.c_str()) : nullptr;
    if (dat && data1_usable(dat))
        use(dat);
    if (dat)
        unload_datafile(dat);
    return 0;
}
