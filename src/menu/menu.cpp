#include "menu/menu.h"

#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/text_encoding.h"

namespace {

char *text(const char *s)
{
    return const_cast<char *>(s);
}

}  // namespace

int start_menu(const std::string &line)
{
    // The result is the index of the closing object, so the order is the menu's numbering.
    DIALOG dialog[] = {
        {d_bitmap_proc, 235, 150, 329, 101, 0, 0, 0, 0, 0, 0, data1[OBJ_TITLE_LOGO].dat, nullptr, nullptr},
        {d_button_proc, 320, 272, 160, 32, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, text("Pelaa"), nullptr, nullptr},
        {d_button_proc, 320, 312, 160, 32, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, text("Avaa"), nullptr, nullptr},
        {d_button_proc, 320, 352, 160, 32, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, text("Editori"), nullptr, nullptr},
        {d_button_proc, 320, 392, 160, 32, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, text("Asetukset"), nullptr, nullptr},
        {d_button_proc, 320, 432, 160, 32, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, text("Info"), nullptr, nullptr},
        {d_button_proc, 320, 472, 160, 32, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, text("Lopeta"), nullptr, nullptr},
        {d_button_proc, 330, 548, 140, 26, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, text(L1("Ennätykset")), nullptr, nullptr},
        {d_ctext_proc, 400, 522, 0, 16, 0xffeedd, 0, 0, 0, 0, 0, text(line.c_str()), nullptr, nullptr},
        {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    };
    if (line.empty())
        dialog[7] = dialog[9];  // no level: the buttons end the menu

    // A click that ended the previous screen must not press a button here.
    while (mouse_b && !close_requested)
        wait_tick();
    font = static_cast<FONT *>(data1[OBJ_FONT_MENU].dat);
    clear_to_color(screen, 0);
    return popup_dialog(dialog, -1);
}
