#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "menu/info.h"
#include "shell/data1.h"
#include "shell/globals.h"
#include "support/fakes.h"
#include "support/pictures.h"

namespace {

// The info text as Latin-1 bytes (ä = \xe4), so the test does not lean on the build's charset.
const std::string expected_text =
    "vinkla on labyrinttipeli, joka perustuu Varkon legendaariseen labyrinttipeliin. "
    "Tarkoitus on ohjata kuulaa hiiren avulla labyrintin l\xe4pi ja poimia kaikki liput. "
    "Jos kuula putoaa reik\xe4\xe4n, saat jatkaa siit\xe4 pisteest\xe4, josta poimit edellisen lipun. "
    "Kannattaa siis suunnitella, miss\xe4 j\xe4rjestyksess\xe4 liput poimii. "
    "Voit keskeytt\xe4\xe4 pelin painamalla <esc>.\n"
    "Pelikello mittaa jokaisen suorituksen ajan sadasosasekunnin tarkkuudella, ja reik\xe4\xe4n "
    "putoaminen maksaa aikaa. Kun kaikki liput on poimittu, n\xe4" "et aikasi ja labyrintin viiden "
    "nopeimman suorituksen taulukon; jos aikasi mahtuu joukkoon, nimesi tallentuu taulukkoon. "
    "<p> pit\xe4\xe4 tauon ja <r> aloittaa labyrintin alusta. "
    "Voit valita useista valmiista labyrinteist\xe4 tai luoda uusia labyrinttej\xe4. "
    "Seuraava-painike vie maalista suoraan kansion seuraavaan labyrinttiin.\n"
    "\n"
    "Kun luot omia labyrinttej\xe4, muista n\xe4m\xe4:\n"
    "Joka labyrintiss\xe4 pit\xe4\xe4 olla yksi ja vain yksi aloituskohta!\n"
    "Joka labyrintiss\xe4 pit\xe4\xe4 olla v\xe4hint\xe4\xe4n yksi poimittava lippu!\n"
    "Mahdottoman vaikeita labyrinttej\xe4 on helppo tehd\xe4, mutta tyls\xe4 pelata.\n"
    "Hauskuus on sallittua suunnittelussa.\n";

}  // namespace

TEST(Info, ShowsPicturesFrameAndTextWithItsOwnFontAndPalette)
{
    FONT *before = static_cast<FONT *>(data1[OBJ_FONT_MENU].dat);
    font = before;
    clear_to_color(screen, makecol(255, 255, 255));
    const Pixel logo = brightest_opaque(OBJ_TITLE_LOGO, 235, 150);
    const Pixel second = brightest_opaque(OBJ_TITLE_2, 195, 240);
    const Pixel third = brightest_opaque(OBJ_TITLE_3, 235, 300);

    bool inspected = false;
    fake::dialog_hook = [&](DIALOG *d, int focus) -> int {
        inspected = true;
        EXPECT_EQ(focus, -1);
        EXPECT_EQ(font, data1[OBJ_FONT_TEXT].dat);
        EXPECT_EQ(fake::palettes, std::vector<const RGB *>{static_cast<const RGB *>(data1[OBJ_PALETTE].dat)});

        EXPECT_EQ(getpixel(screen, 20, 20), makecol(0, 0, 0));
        EXPECT_EQ(getpixel(screen, logo.x, logo.y), logo.colour);
        EXPECT_EQ(getpixel(screen, second.x, second.y), second.colour);
        EXPECT_EQ(getpixel(screen, third.x, third.y), third.colour);
        // The frame in (32, 8, 4): inner ring darkest on top, lightest on the right; outer
        // ring the other way about.
        EXPECT_EQ(getpixel(screen, 400, 329), makecol(10, 2, 1));
        EXPECT_EQ(getpixel(screen, 400, 325), makecol(180, 172, 170));
        EXPECT_EQ(getpixel(screen, 701, 440), makecol(180, 172, 170));
        EXPECT_EQ(getpixel(screen, 705, 440), makecol(10, 2, 1));
        EXPECT_EQ(getpixel(screen, 400, 553), makecol(32, 8, 4));

        EXPECT_EQ(d[0].proc, d_textbox_proc);
        EXPECT_EQ(d[0].x, 100);
        EXPECT_EQ(d[0].y, 330);
        EXPECT_EQ(d[0].w, 600);
        EXPECT_EQ(d[0].h, 220);
        EXPECT_EQ(d[0].fg, -1);
        EXPECT_EQ(d[0].bg, 0xffeedd);
        EXPECT_EQ(d[0].flags, 0);
        EXPECT_EQ(d[0].d1, 0);
        EXPECT_EQ(d[0].d2, 0);
        EXPECT_EQ(std::string(static_cast<const char *>(d[0].dp)), expected_text);

        EXPECT_EQ(d[1].proc, d_button_proc);
        EXPECT_EQ(d[1].x, 350);
        EXPECT_EQ(d[1].y, 560);
        EXPECT_EQ(d[1].w, 100);
        EXPECT_EQ(d[1].h, 30);
        EXPECT_EQ(d[1].fg, 0);
        EXPECT_EQ(d[1].bg, 0xaaaaaa);
        EXPECT_EQ(d[1].flags, D_EXIT);
        EXPECT_STREQ(static_cast<const char *>(d[1].dp), "Ok");
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(d[i].key, 0);
            EXPECT_EQ(d[i].dp2, nullptr);
            EXPECT_EQ(d[i].dp3, nullptr);
        }
        DIALOG end;
        std::memset(&end, 0, sizeof end);
        EXPECT_EQ(std::memcmp(&d[2], &end, sizeof end), 0);
        return 1;
    };

    info();

    EXPECT_TRUE(inspected);
    ASSERT_EQ(fake::dialogs.size(), 1u);
    EXPECT_EQ(fake::dialogs[0], "popup_dialog");
    EXPECT_EQ(font, before);
}

TEST(Info, PutsBackWhicheverFontWasInForce)
{
    // Esc closes with -1; the font that comes back is the caller's, whatever it was.
    FONT *before = static_cast<FONT *>(data1[OBJ_FONT_TEXT].dat);
    font = before;
    fake::dialog_hook = [](DIALOG *, int) { return -1; };
    info();
    EXPECT_EQ(font, before);
    font = static_cast<FONT *>(data1[OBJ_FONT_MENU].dat);
}
