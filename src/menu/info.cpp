#include "menu/info.h"

#include <allegro.h>

#include <string>
#include <vector>

#include "field/tile_guide.h"
#include "field/tile_kind.h"
#include "menu/menu.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "platform/text_encoding.h"

namespace {

// Latin-1 in the program: the build's exec charset turns these literals into 8-bit text.
const char *const info_text =
    L1("vinkla on labyrinttipeli, joka perustuu Varkon legendaariseen labyrinttipeliin. "
    "Tarkoitus on ohjata kuulaa labyrintin läpi kallistamalla lautaa hiirellä, nuolinäppäimillä "
    "tai peliohjaimella ja poimia kaikki liput. Sivupaneelin vesivaaka näyttää laudan "
    "kallistuksen, ja <väli> palauttaa laudan vaakaan. "
    "Jos kuula putoaa reikään, saat jatkaa siitä pisteestä, josta poimit edellisen lipun. "
    "Kannattaa siis suunnitella, missä järjestyksessä liput poimii. "
    "Voit keskeyttää pelin painamalla <esc>.\n"
    "Pelikello käynnistyy, kun kallistat lautaa ensimmäisen kerran, ja mittaa jokaisen "
    "suorituksen ajan sadasosasekunnin tarkkuudella; reikään putoaminen maksaa aikaa. Kun kaikki "
    "liput on poimittu, näet aikasi ja labyrintin viiden nopeimman suorituksen taulukon; jos "
    "aikasi mahtuu joukkoon, nimesi tallentuu taulukkoon. "
    "<p> pitää tauon ja <r> aloittaa labyrintin alusta. "
    "Voit valita useista valmiista labyrinteistä tai luoda uusia labyrinttejä. "
    "Labyrintit ovat sarjoissa: voittamasi labyrintti avaa sarjasta uuden, ja Seuraava-painike vie "
    "maalista suoraan sarjan seuraavaan labyrinttiin. "
    "Joka labyrintillä on kulta-, hopea- ja pronssiaika, jotka labyrintin valinta näyttää: "
    "pronssi on ensimmäinen puhdas voitto, hopea tulee harjoittelemalla ja kulta mestarille. "
    "Ajat lasketaan käden mallista, joka pelaa niin kuin käsi pystyy: se päättää uudesta "
    "kallistuksesta viidesti sekunnissa, toimii reaktioajan viiveellä ja tekee pieniä virheitä. "
    "Haamu eli vaalea lasikuula ajaa labyrintin parhaan suorituksen rinnallasi; <g> piilottaa sen "
    "ja tuo sen takaisin. "
    "Putkessa kuula näkyy himmeänä putken katon läpi. Risteyksessä vauhdikas kuula jatkaa "
    "suoraan: haaraan se kääntyy vain, kun se on hidastunut risteykseen ja lautaa kallistetaan "
    "haaran suuntaan. "
    "Mitä kentän ruudut tekevät, kertoo sivu \"Ruudut ja ohjaus\".\n"
    "\n"
    "Kun luot omia labyrinttejä, muista nämä:\n"
    "Joka labyrintissä pitää olla yksi ja vain yksi aloituskohta!\n"
    "Joka labyrintissä pitää olla vähintään yksi poimittava lippu!\n"
    "Mahdottoman vaikeita labyrinttejä on helppo tehdä, mutta tylsä pelata.\n"
    "Hauskuus on sallittua suunnittelussa.\n");

int cream() { return makecol(255, 238, 221); }
int label_ink() { return makecol(120, 72, 40); }
int ink() { return makecol(0, 0, 0); }

// The second page: every tile with its picture and a line, then the keys and the gamepad.
const int page_x1 = 20, page_y1 = 14, page_x2 = 779, page_y2 = 546;
const int entry_y0 = 46, entry_pitch = 54, entries_left = 6;
const int controls_y0 = 410, controls_pitch = 24;

void draw_entry(BITMAP *bmp, FONT *title, FONT *body, const tile_guide_entry &e, int x, int y)
{
    draw_sprite(bmp, static_cast<BITMAP *>(data1[tile_kind_of(e.codes[0])->palette].dat), x, y);
    textout_ex(bmp, title, e.name, x + 50, y, label_ink(), -1);
    int line_y = y + text_height(title) + 2;
    for (const std::string &line : wrapped_lines(body, e.line, 300)) {
        textout_ex(bmp, body, line.c_str(), x + 50, line_y, ink(), -1);
        line_y += text_height(body) + 1;
    }
}

void draw_controls(BITMAP *bmp, FONT *title, FONT *body)
{
    const int y = controls_y0;
    hline(bmp, page_x1 + 16, y - 30, page_x2 - 16, makecol(230, 208, 186));
    textout_ex(bmp, title, "Ohjaus", page_x1 + 16, y - 22, label_ink(), -1);
    struct row {
        const char *cap;
        int cap_w;
        const char *says;
    };
    static const row keys[] = {
        {"Hiiri", 64, "liike kallistaa lautaa samaan suuntaan"},
        {"Nuolet", 64, L1("kallistavat lautaa, kun niitä pidetään")},
        {L1("Väli"), 64, "lauta vaakaan"},
        {"P", 30, "tauko"},
        {"R", 30, L1("alusta (kysyy 10 sekunnin jälkeen)")},
        {"Esc", 30, "valikkoon"},
    };
    // Three down the left half, three down the right.
    for (int k = 0; k < 6; k++) {
        const int col = page_x1 + 16 + (k / 3) * 384;
        const int ry = y + (k % 3) * controls_pitch;
        keycap(bmp, body, col, ry, keys[k].cap_w, keys[k].cap);
        textout_ex(bmp, body, keys[k].says, col + keys[k].cap_w + 10, ry + 2, ink(), -1);
    }
    const int pad_y = y + 3 * controls_pitch + 10;
    textout_ex(bmp, title, "Peliohjain", page_x1 + 16, pad_y, label_ink(), -1);
    textout_ex(bmp, body, L1("Tatti kallistaa lautaa suoraan: keskellä lauta on vaakassa."), page_x1 + 120,
               pad_y + 1, ink(), -1);
    textout_ex(bmp, body, L1("Ensimmäinen painike vie laudan vaakaan."), page_x1 + 120,
               pad_y + 1 + text_height(body) + 3, ink(), -1);
}

int d_tiles_page_proc(int msg, DIALOG *d, int c)
{
    (void)d;
    (void)c;
    if (msg != MSG_DRAW)
        return D_O_K;
    BITMAP *bmp = gui_get_screen();
    FONT *title = static_cast<FONT *>(data1[OBJ_FONT_MENU].dat);
    FONT *body = static_cast<FONT *>(data1[OBJ_FONT_TEXT].dat);
    rectfill(bmp, page_x1, page_y1, page_x2, page_y2, cream());
    Frame(bmp, page_x1, page_y1, page_x2, page_y2, makecol(32, 8, 4));
    textout_ex(bmp, title, "Ruudut", page_x1 + 16, page_y1 + 10, label_ink(), -1);
    for (int k = 0; k < tile_guide_count; k++) {
        const bool left = k < entries_left;
        const int x = left ? page_x1 + 16 : page_x1 + 392;
        const int y = entry_y0 + entry_pitch * (left ? k : k - entries_left);
        draw_entry(bmp, title, body, tile_guide[k], x, y);
    }
    draw_controls(bmp, title, body);
    return D_O_K;
}

// The text page; returns true when the player asked for the tiles.
bool text_page()
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
        {d_button_proc, 470, 560, 180, 30, 0, 0xaaaaaa, 0, D_EXIT, 0, 0,
         const_cast<char *>("Ruudut ja ohjaus"), nullptr, nullptr},
        {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    };
    return popup_dialog(dialog, -1) == 2 && !close_requested;
}

// The tiles' page; returns true when the player went back to the text.
bool tiles_page()
{
    clear_to_color(screen, 0);
    DIALOG dialog[] = {
        {d_tiles_page_proc, page_x1, page_y1, page_x2 - page_x1 + 1, page_y2 - page_y1 + 1, 0, 0, 0, 0, 0, 0,
         nullptr, nullptr, nullptr},
        {d_button_proc, 350, 560, 100, 30, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, const_cast<char *>("Ok"), nullptr, nullptr},
        {d_button_proc, 470, 560, 180, 30, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, const_cast<char *>("Ohjeet"), nullptr,
         nullptr},
        {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    };
    return popup_dialog(dialog, -1) == 2 && !close_requested;
}

}  // namespace

void info()
{
    FONT *previous = font;
    font = static_cast<FONT *>(data1[OBJ_FONT_TEXT].dat);
    set_palette(static_cast<RGB *>(data1[OBJ_PALETTE].dat));
    while (text_page() && tiles_page()) {
    }
    font = previous;
}
