#include "menu/info.h"

#include <allegro.h>

#include "menu/menu.h"
#include "shell/data1.h"
#include "shell/globals.h"

namespace {

// Latin-1 in the program: the build's exec charset turns these literals into 8-bit text.
const char info_text[] =
    "vinkla on labyrinttipeli, joka perustuu Varkon legendaariseen labyrinttipeliin. "
    "Tarkoitus on ohjata kuulaa hiiren avulla labyrintin läpi ja poimia kaikki liput. "
    "Jos kuula putoaa reikään, saat jatkaa siitä pisteestä, josta poimit edellisen lipun. "
    "Kannattaa siis suunnitella, missä järjestyksessä liput poimii. "
    "Voit keskeyttää pelin painamalla <esc>.\n"
    "Pelikello mittaa jokaisen suorituksen ajan sadasosasekunnin tarkkuudella, ja reikään "
    "putoaminen maksaa aikaa. Kun kaikki liput on poimittu, näet aikasi ja labyrintin viiden "
    "nopeimman suorituksen taulukon; jos aikasi mahtuu joukkoon, nimesi tallentuu taulukkoon. "
    "<p> pitää tauon ja <r> aloittaa labyrintin alusta. "
    "Voit valita useista valmiista labyrinteistä tai luoda uusia labyrinttejä. "
    "Seuraava-painike vie maalista suoraan kansion seuraavaan labyrinttiin.\n"
    "\n"
    "Kun luot omia labyrinttejä, muista nämä:\n"
    "Joka labyrintissä pitää olla yksi ja vain yksi aloituskohta!\n"
    "Joka labyrintissä pitää olla vähintään yksi poimittava lippu!\n"
    "Mahdottoman vaikeita labyrinttejä on helppo tehdä, mutta tylsä pelata.\n"
    "Hauskuus on sallittua suunnittelussa.\n";

}  // namespace

void info()
{
    clear_to_color(screen, 0);
    draw_sprite(screen, static_cast<BITMAP *>(data1[OBJ_TITLE_LOGO].dat), 235, 150);
    draw_sprite(screen, static_cast<BITMAP *>(data1[OBJ_TITLE_2].dat), 195, 240);
    draw_sprite(screen, static_cast<BITMAP *>(data1[OBJ_TITLE_3].dat), 235, 300);
    Frame(screen, 100, 330, 700, 550, makecol(32, 8, 4));

    DIALOG dialog[] = {
        {d_textbox_proc, 100, 330, 600, 220, -1, 0xffeedd, 0, 0, 0, 0,
         const_cast<char *>(info_text), nullptr, nullptr},
        {d_button_proc, 350, 560, 100, 30, 0, 0xaaaaaa, 0, D_EXIT, 0, 0,
         const_cast<char *>("Ok"), nullptr, nullptr},
        {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    };

    FONT *previous = font;
    font = static_cast<FONT *>(data1[OBJ_FONT_TEXT].dat);
    set_palette(static_cast<RGB *>(data1[OBJ_PALETTE].dat));
    popup_dialog(dialog, -1);
    font = previous;
}
