#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "menu/menu.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/text_encoding.h"
#include "support/fakes.h"

namespace {

int rgb(int r, int g, int b)
{
    return makecol(r, g, b);
}

struct Button {
    int y;
    const char *text;
};

}  // namespace

TEST(Menu, TheDialogHoldsThePictureAndSixButtonsInOrder)
{
    mouse_b = 0;
    font = nullptr;
    clear_to_color(screen, rgb(255, 255, 255));
    bool inspected = false;
    fake::dialog_hook = [&](DIALOG *d, int focus) -> int {
        inspected = true;
        EXPECT_EQ(focus, -1);
        EXPECT_EQ(font, data1[OBJ_FONT_MENU].dat);
        EXPECT_EQ(getpixel(screen, 400, 560), rgb(0, 0, 0));  // cleared before it runs

        EXPECT_EQ(d[0].proc, d_bitmap_proc);
        EXPECT_EQ(d[0].x, 235);
        EXPECT_EQ(d[0].y, 150);
        EXPECT_EQ(d[0].w, 329);
        EXPECT_EQ(d[0].h, 101);
        EXPECT_EQ(d[0].fg, 0);
        EXPECT_EQ(d[0].bg, 0);
        EXPECT_EQ(d[0].flags, 0);
        EXPECT_EQ(d[0].dp, data1[OBJ_TITLE_LOGO].dat);

        const Button buttons[] = {{272, "Pelaa"}, {312, "Avaa"},  {352, "Editori"},
                                  {392, "Asetukset"}, {432, "Info"}, {472, "Lopeta"}};
        for (int i = 1; i <= 6; ++i) {
            const DIALOG &b = d[i];
            SCOPED_TRACE(buttons[i - 1].text);
            EXPECT_EQ(b.proc, d_button_proc);
            EXPECT_EQ(b.x, 320);
            EXPECT_EQ(b.y, buttons[i - 1].y);
            EXPECT_EQ(b.w, 160);
            EXPECT_EQ(b.h, 32);
            EXPECT_EQ(b.fg, 0);
            EXPECT_EQ(b.bg, 0xaaaaaa);
            EXPECT_EQ(b.flags, D_EXIT);
            EXPECT_STREQ(static_cast<const char *>(b.dp), buttons[i - 1].text);
        }
        for (int i = 0; i <= 6; ++i) {
            EXPECT_EQ(d[i].key, 0);
            EXPECT_EQ(d[i].d1, 0);
            EXPECT_EQ(d[i].d2, 0);
            EXPECT_EQ(d[i].dp2, nullptr);
            EXPECT_EQ(d[i].dp3, nullptr);
        }
        DIALOG end;
        std::memset(&end, 0, sizeof end);
        EXPECT_EQ(std::memcmp(&d[7], &end, sizeof end), 0);
        return 4;
    };

    EXPECT_EQ(start_menu(), 4);
    EXPECT_TRUE(inspected);
    ASSERT_EQ(fake::dialogs.size(), 1u);
    EXPECT_EQ(fake::dialogs[0], "popup_dialog");
    // The menu font stays for the screens that follow.
    EXPECT_EQ(font, data1[OBJ_FONT_MENU].dat);
}

TEST(Menu, ReturnsWhateverClosedTheDialog)
{
    mouse_b = 0;
    for (int result : {1, 2, 3, 5, 6, -1}) {
        fake::dialog_hook = [result](DIALOG *, int) { return result; };
        EXPECT_EQ(start_menu(), result);
    }
}

TEST(Menu, WaitsForTheButtonReleaseBeforeDrawing)
{
    clear_to_color(screen, rgb(255, 255, 255));
    mouse_b = 1;
    bool untouched_while_held = true;
    fake::on_rest = [&] {
        if (getpixel(screen, 400, 560) != rgb(255, 255, 255))
            untouched_while_held = false;
        if (fake::tick_waits == 3)
            mouse_b = 0;
    };
    int waits_at_dialog = -1;
    fake::dialog_hook = [&](DIALOG *, int) {
        waits_at_dialog = fake::tick_waits;
        return 6;
    };
    EXPECT_EQ(start_menu(), 6);
    EXPECT_TRUE(untouched_while_held);
    EXPECT_EQ(waits_at_dialog, 3);
    EXPECT_EQ(fake::rest_calls, 0);
    mouse_b = 0;
}

namespace {

// Expected shades 0 (lightest) .. 4 (darkest), worked out from the thirds rule by hand.
struct Shades {
    int s[5];
};

void expect_rings(BITMAP *bmp, const Shades &want)
{
    // Rectangle (100, 330)-(700, 550); ring i lies i + 1 pixels outside it.
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE("ring " + std::to_string(i));
        const int top = 329 - i, left = 99 - i, bottom = 551 + i, right = 701 + i;
        EXPECT_EQ(getpixel(bmp, 400, top), want.s[4 - i]);
        EXPECT_EQ(getpixel(bmp, left, 440), want.s[4 - i]);
        EXPECT_EQ(getpixel(bmp, 400, bottom), want.s[i]);
        EXPECT_EQ(getpixel(bmp, right, 440), want.s[i]);
        // Drawing order: top-left belongs to top and left alike, top-right to the right
        // edge, bottom-left and bottom-right to the bottom edge.
        EXPECT_EQ(getpixel(bmp, left, top), want.s[4 - i]);
        EXPECT_EQ(getpixel(bmp, right, top), want.s[i]);
        EXPECT_EQ(getpixel(bmp, left, bottom), want.s[i]);
        EXPECT_EQ(getpixel(bmp, right, bottom), want.s[i]);
    }
}

}  // namespace

TEST(Frame, ShadesOfTheInfoPanelBrown)
{
    clear_to_color(screen, rgb(0, 255, 0));
    Frame(screen, 100, 330, 700, 550, rgb(32, 8, 4));
    // 32 + 2*(223/3) = 180, 8 + 2*(247/3) = 172, 4 + 2*(251/3) = 170; 32 + 74 = 106, ...
    expect_rings(screen, {{rgb(180, 172, 170), rgb(106, 90, 87), rgb(32, 8, 4), rgb(20, 4, 2),
                           rgb(10, 2, 1)}});
}

TEST(Frame, ShadesOfBlackAndWhite)
{
    clear_to_color(screen, rgb(0, 255, 0));
    Frame(screen, 100, 330, 700, 550, rgb(0, 0, 0));
    expect_rings(screen, {{rgb(170, 170, 170), rgb(85, 85, 85), rgb(0, 0, 0), rgb(0, 0, 0),
                           rgb(0, 0, 0)}});

    clear_to_color(screen, rgb(0, 255, 0));
    Frame(screen, 100, 330, 700, 550, rgb(255, 255, 255));
    expect_rings(screen, {{rgb(255, 255, 255), rgb(255, 255, 255), rgb(255, 255, 255),
                           rgb(170, 170, 170), rgb(85, 85, 85)}});
}

TEST(Frame, TouchesExactlyTheFiveRingsOutsideTheRectangle)
{
    const int background = rgb(0, 255, 0);
    clear_to_color(screen, background);
    Frame(screen, 100, 330, 700, 550, rgb(32, 8, 4));
    int wrong = 0;
    for (int y = 0; y < screen->h; ++y)
        for (int x = 0; x < screen->w; ++x) {
            const bool in_band = x >= 95 && x <= 705 && y >= 325 && y <= 555;
            const bool inside = x >= 100 && x <= 700 && y >= 330 && y <= 550;
            const bool touched = getpixel(screen, x, y) != background;
            if (touched != (in_band && !inside))
                ++wrong;
        }
    EXPECT_EQ(wrong, 0);
}

TEST(Menu, LineUnderTheButtonsNamesTheLevelPelaaPlays)
{
    bool inspected = false;
    fake::dialog_hook = [&](DIALOG *d, int) -> int {
        inspected = true;
        EXPECT_EQ(d[8].proc, d_ctext_proc);
        EXPECT_STREQ(static_cast<const char *>(d[8].dp), L1("Pelaa: 01_alku   Ennätys: 0:12,34"));
        EXPECT_GT(d[8].y, 472 + 32);  // below "Lopeta"
        EXPECT_EQ(d[8].flags, 0);     // text only, never closes the menu
        EXPECT_LT(d[8].y + 16, d[main_menu::records].y);  // its table's button under it
        EXPECT_EQ(d[9].proc, nullptr);
        return 1;
    };
    EXPECT_EQ(start_menu(L1("Pelaa: 01_alku   Ennätys: 0:12,34")), 1);
    EXPECT_TRUE(inspected);
}
