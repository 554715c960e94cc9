#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "field/tile_kind.h"
#include "menu/info.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "support/fakes.h"
#include "support/pictures.h"

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
        // The keys and the gamepad are named, not the mouse alone.
        const std::string text = static_cast<const char *>(d[0].dp);
        EXPECT_NE(text.find("nuolin\xe4pp\xe4imill\xe4"), std::string::npos);
        EXPECT_NE(text.find("peliohjaimella"), std::string::npos);
        EXPECT_NE(text.find("<v\xe4li>"), std::string::npos);
        return 1;
    };

    info();

    EXPECT_TRUE(inspected);
    ASSERT_EQ(fake::dialogs.size(), 1u);
    EXPECT_EQ(fake::dialogs[0], "popup_dialog");
    EXPECT_EQ(font, before);
}

// "Ruudut ja ohjaus" turns to the page of tiles, drawn with their pictures; "Ohjeet" turns back
// to the text, and "Ok" there ends the screen.
TEST(Info, TurnsToTheTilesAndBack)
{
    const int hole_picture = tile_kind_of('O')->palette;
    const Pixel hole = brightest_opaque(hole_picture, 36, 46 + 3 * 54);  // fourth down the left
    std::vector<std::string> pages;
    fake::dialog_hook = [&](DIALOG *d, int) -> int {
        if (d[0].proc == d_textbox_proc) {
            pages.push_back("text");
            return pages.size() == 1 ? 2 : 1;
        }
        pages.push_back("tiles");
        clear_to_color(screen, 0);
        d[0].proc(MSG_DRAW, &d[0], 0);
        EXPECT_EQ(getpixel(screen, hole.x, hole.y), hole.colour);
        EXPECT_STREQ(static_cast<const char *>(d[2].dp), "Ohjeet");
        return 2;
    };
    info();
    EXPECT_EQ(pages, (std::vector<std::string>{"text", "tiles", "text"}));
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
