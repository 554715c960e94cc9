#include "menu/editor_help.h"

#include <allegro.h>

#include <cstring>

#include "field/grid.h"
#include "field/tile_kind.h"
#include "shell/data1.h"
#include "shell/globals.h"

namespace {

const int panel_fill = 0xffffb6;
const char tunnel[] = "Tunneli.";

struct HelpEntry {
    int y;
    char code;  // the tile kind shown
    const char *text;
};

const HelpEntry left_column[8] = {
    {48, 'A', "Kuulan lähtöruutu. Aseta vain yksi tällainen!"},
    {96, 'C', "Kuoppa kentässä"},
    {144, '-', tunnel},
    {192, 'S', tunnel},
    {240, '.', "Tasainen pohja."},
    {288, 'V', "Kuhmu kentässä"},
    {336, 'E', tunnel},
    {384, '+', tunnel},
};

// The flag's text needs three lines, so everything below it moves down by 24.
const HelpEntry right_column[8] = {
    {48, '*', "Seinää."},
    {96, 'F',
     "Kerättävä lippu. Ainakin yksi pitää olla kenttää kohti. Viimeksi poimitun lipun paikka on kuulan "
     "lähtöpaikka reikään putoamisen jälkeen."},
    {168, 'W', tunnel},
    {216, 'B', "Flipperistä lainattu pomppain."},
    {264, 'O', "Reikä. Hidastaa pelaamista, mutta ei aiheuta pelin loppumista."},
    {312, 'I', tunnel},
    {360, 'N', tunnel},
    {408, '#', "Kangastilkku. Hidastaa kuulaa roimasti. Helpottaa kinkkisissä paikoissa."},
};

DIALOG picture_object(int x, const HelpEntry &e)
{
    return DIALOG{d_bitmap_proc, x, e.y, grid::cell, grid::cell, 0, 0, 0, 0, 0, 0, data1[tile_kind_of(e.code)->palette].dat, nullptr, nullptr};
}

DIALOG text_object(int x, int w, int h, const HelpEntry &e)
{
    return DIALOG{d_textbox_proc, x, e.y, w, h, -1, panel_fill, 0, 0, 0, 0, const_cast<char *>(e.text), nullptr, nullptr};
}

}  // namespace

void editor_help()
{
    DIALOG dialog[35];
    std::memset(dialog, 0, sizeof dialog);
    dialog[0] = DIALOG{d_box_proc, 24, 40, 752, 464, 0x400000, panel_fill, 0, 0, 0, 0, nullptr, nullptr, nullptr};
    dialog[1] = DIALOG{d_button_proc, 328, 464, 88, 24, 0x200000, 0xffffdc, 0, D_EXIT, 0, 0, const_cast<char *>("Ok"),
                       nullptr, nullptr};
    for (int k = 0; k < 8; k++) {
        dialog[2 + k] = picture_object(32, left_column[k]);
        dialog[10 + k] = picture_object(352, right_column[k]);
        dialog[18 + k] = text_object(80, 208, 40, left_column[k]);
        dialog[26 + k] = text_object(400, 320, right_column[k].code == 'F' ? 64 : 40, right_column[k]);
    }

    FONT *editor_font = font;
    font = static_cast<FONT *>(data1[OBJ_FONT_TEXT].dat);
    set_palette(static_cast<RGB *>(data1[OBJ_PALETTE].dat));
    popup_dialog(dialog, -1);
    font = editor_font;
}
