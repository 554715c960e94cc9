#include "menu/editor_help.h"

#include <allegro.h>

#include <cstring>

#include "field/tile_kind.h"
#include "menu/editor.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "platform/text_encoding.h"

namespace {

const int panel_fill = 0xffffb6;

struct HelpEntry {
    char code;  // the tool's tile kind, shown with its palette picture
    const char *text;
};

const int entry_count = tile_kind_count;
const HelpEntry entries[entry_count] = {
    {'A', L1("Lähtöruutu: tästä kuula lähtee liikkeelle. Kentässä saa olla vain yksi.")},
    {'.', "Tasainen pohja, jolla kuula vierii vapaasti."},
    {'*', L1("Seinä. Kuula kimpoaa siitä takaisin.")},
    {'O', L1("Reikä. Pudonnut kuula jatkaa viimeksi poimitulta lipulta tai lähtöruudusta.")},
    {'C', L1("Kuoppa, joka vetää kuulaa keskelleen.")},
    {'V', L1("Kumpu, joka työntää kuulaa poispäin keskeltään.")},
    {'F', L1("Lippu. Kaikki liput kerätään; kentässä on oltava ainakin yksi.")},
    {'I', L1("Pystysuora putki: kuula kulkee sen läpi piilossa ylhäältä alas tai takaisin.")},
    {'-', L1("Vaakasuora putki: kuula kulkee sen läpi piilossa sivulta toiselle.")},
    {'W', L1("Haaraputki, jonka suut ovat ylhäällä, alhaalla ja vasemmalla.")},
    {'E', L1("Haaraputki, jonka suut ovat ylhäällä, alhaalla ja oikealla.")},
    {'N', L1("Haaraputki, jonka suut ovat vasemmalla, oikealla ja ylhäällä.")},
    {'S', "Haaraputki, jonka suut ovat vasemmalla, oikealla ja alhaalla."},
    {'+', L1("Risteysputki, joka on auki kaikkiin neljään suuntaan.")},
    {'B', L1("Flipperistä tuttu pomppain: potkaisee kuulan kauas luotaan.")},
    {'#', "Kangastilkku jarruttaa kuulaa rajusti. Avuksi ahtaissa paikoissa."},
    {'n', L1("Rinne, joka vetää kuulaa ylöspäin.")},
    {'e', L1("Rinne, joka vetää kuulaa oikealle.")},
    {'s', L1("Rinne, joka vetää kuulaa alaspäin.")},
    {'w', L1("Rinne, joka vetää kuulaa vasemmalle.")},
    {'X', "Luukku: kansi, jonka yli kuula vierii kuin tasaisella pohjalla."},
};

const char *text_of(char code)
{
    for (const HelpEntry &e : entries)
        if (e.code == code)
            return e.text;
    return "";
}

const int left_count = 11;
const int first_y = 32;
const int pitch = 46;

}  // namespace

void editor_help()
{
    // The panel, its "Ok", a picture and a text box for every tool, and the terminator.
    DIALOG dialog[2 + 2 * entry_count + 1];
    std::memset(dialog, 0, sizeof dialog);
    dialog[0] = DIALOG{d_box_proc, 16, 16, 768, 552, 0x400000, panel_fill, 0, 0, 0, 0, nullptr, nullptr, nullptr};
    dialog[1] = DIALOG{d_button_proc, 356, 536, 88, 24, 0x200000, 0xffffdc, 0, D_EXIT, 0, 0, const_cast<char *>("Ok"),
                       nullptr, nullptr};
    // Every tool in the palette's order: eleven down the left column, ten down the right one.
    for (int k = 0; k < entry_count; k++) {
        char code = editor_tools[k];
        bool left = k < left_count;
        int x = left ? 28 : 408;
        int y = first_y + pitch * (left ? k : k - left_count);
        void *picture = data1[tile_kind_of(code)->palette].dat;
        dialog[2 + 2 * k] = DIALOG{d_bitmap_proc, x, y, grid::cell, grid::cell, 0, 0, 0, 0, 0, 0, picture, nullptr, nullptr};
        dialog[3 + 2 * k] = DIALOG{d_textbox_proc, x + 47, y, 317, 40, -1, panel_fill, 0, 0, 0, 0,
                                   const_cast<char *>(text_of(code)), nullptr, nullptr};
    }

    FONT *editor_font = font;
    font = static_cast<FONT *>(data1[OBJ_FONT_TEXT].dat);
    set_palette(static_cast<RGB *>(data1[OBJ_PALETTE].dat));
    popup_dialog(dialog, -1);
    font = editor_font;
}
