#include "menu/editor_help.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "field/grid.h"
#include "shell/data1.h"
#include "shell/globals.h"
#include "support/fakes.h"

namespace {

struct Expected {
    int y;
    int picture;
    const char *text;
};

const Expected left_column[8] = {
    {48, 30, "Kuulan lähtöruutu. Aseta vain yksi tällainen!"},
    {96, 5, "Kuoppa kentässä"},
    {144, 37, "Tunneli."},
    {192, 39, "Tunneli."},
    {240, 16, "Tasainen pohja."},
    {288, 6, "Kuhmu kentässä"},
    {336, 35, "Tunneli."},
    {384, 40, "Tunneli."},
};

const Expected right_column[8] = {
    {48, 41, "Seinää."},
    {96, 14,
     "Kerättävä lippu. Ainakin yksi pitää olla kenttää kohti. Viimeksi poimitun lipun paikka on kuulan lähtöpaikka "
     "reikään putoamisen jälkeen."},
    {168, 36, "Tunneli."},
    {216, 2, "Flipperistä lainattu pomppain."},
    {264, 17, "Reikä. Hidastaa pelaamista, mutta ei aiheuta pelin loppumista."},
    {312, 34, "Tunneli."},
    {360, 38, "Tunneli."},
    {408, 29, "Kangastilkku. Hidastaa kuulaa roimasti. Helpottaa kinkkisissä paikoissa."},
};

void expect_unused_fields_zero(const DIALOG &d, int index)
{
    EXPECT_EQ(0, d.key) << index;
    EXPECT_EQ(0, d.d1) << index;
    EXPECT_EQ(0, d.d2) << index;
    EXPECT_EQ(nullptr, d.dp2) << index;
    EXPECT_EQ(nullptr, d.dp3) << index;
}

}  // namespace

TEST(EditorHelp, PanelHoldsThirtyFourObjectsWithPicturesAndTexts)
{
    int runs = 0;
    fake::dialog_hook = [&](DIALOG *d, int focus) {
        runs++;
        EXPECT_EQ(-1, focus);
        EXPECT_EQ(nullptr, d[34].proc) << "the array ends after 34 objects";
        for (int i = 0; i < 34; i++)
            EXPECT_NE(nullptr, d[i].proc) << i;

        EXPECT_EQ(d_box_proc, d[0].proc);
        EXPECT_EQ(24, d[0].x);
        EXPECT_EQ(40, d[0].y);
        EXPECT_EQ(752, d[0].w);
        EXPECT_EQ(464, d[0].h);
        EXPECT_EQ(0x400000, d[0].fg);
        EXPECT_EQ(0xffffb6, d[0].bg);
        EXPECT_EQ(0, d[0].flags);
        EXPECT_EQ(nullptr, d[0].dp);
        expect_unused_fields_zero(d[0], 0);

        EXPECT_EQ(d_button_proc, d[1].proc);
        EXPECT_EQ(328, d[1].x);
        EXPECT_EQ(464, d[1].y);
        EXPECT_EQ(88, d[1].w);
        EXPECT_EQ(24, d[1].h);
        EXPECT_EQ(0x200000, d[1].fg);
        EXPECT_EQ(0xffffdc, d[1].bg);
        EXPECT_EQ(D_EXIT, d[1].flags);
        EXPECT_STREQ("Ok", static_cast<const char *>(d[1].dp));
        expect_unused_fields_zero(d[1], 1);

        for (int k = 0; k < 8; k++) {
            const DIALOG *pictures[2] = {&d[2 + k], &d[10 + k]};
            const DIALOG *texts[2] = {&d[18 + k], &d[26 + k]};
            const Expected *rows[2] = {&left_column[k], &right_column[k]};
            const int picture_x[2] = {32, 352}, text_x[2] = {80, 400}, text_w[2] = {208, 320};
            for (int side = 0; side < 2; side++) {
                const DIALOG &p = *pictures[side];
                const DIALOG &t = *texts[side];
                const Expected &e = *rows[side];
                SCOPED_TRACE("row " + std::to_string(k) + " side " + std::to_string(side));
                EXPECT_EQ(d_bitmap_proc, p.proc);
                EXPECT_EQ(picture_x[side], p.x);
                EXPECT_EQ(e.y, p.y);
                EXPECT_EQ(grid::cell, p.w);
                EXPECT_EQ(grid::cell, p.h);
                EXPECT_EQ(0, p.fg);
                EXPECT_EQ(0, p.bg);
                EXPECT_EQ(0, p.flags);
                EXPECT_EQ(data1[e.picture].dat, p.dp);
                expect_unused_fields_zero(p, -1);

                EXPECT_EQ(d_textbox_proc, t.proc);
                EXPECT_EQ(text_x[side], t.x);
                EXPECT_EQ(e.y, t.y);
                EXPECT_EQ(text_w[side], t.w);
                EXPECT_EQ(side == 1 && k == 1 ? 64 : 40, t.h);
                EXPECT_EQ(-1, t.fg);
                EXPECT_EQ(0xffffb6, t.bg);
                EXPECT_EQ(0, t.flags);
                EXPECT_STREQ(e.text, static_cast<const char *>(t.dp));
                expect_unused_fields_zero(t, -1);
            }
        }
        // Below the flag's taller box, the right column runs 24 pixels lower than the left.
        for (int k = 2; k < 8; k++)
            EXPECT_EQ(d[2 + k].y + 24, d[10 + k].y);
        return 1;
    };
    editor_help();
    EXPECT_EQ(1, runs);
    EXPECT_EQ(std::vector<std::string>{"popup_dialog"}, fake::dialogs);
}

TEST(EditorHelp, TextsAreLatin1)
{
    // The texts reach the screen as 8-bit Latin-1: 'ä' is one byte, 0xE4.
    fake::dialog_hook = [](DIALOG *d, int) {
        const char *text = static_cast<const char *>(d[18].dp);
        EXPECT_EQ(std::strlen("Kuulan lähtöruutu. Aseta vain yksi tällainen!"), std::strlen(text));
        EXPECT_EQ('\xe4', text[8]);
        return 1;
    };
    editor_help();
}

TEST(EditorHelp, SwitchesFontAndPaletteAndRestoresTheFont)
{
    FONT *editor_font = static_cast<FONT *>(data1[OBJ_FONT_MENU].dat);
    FONT *saved = font;
    for (int closing : {1, -1}) {  // "Ok", then Esc
        font = editor_font;
        fake::palettes.clear();
        FONT *during = nullptr;
        fake::dialog_hook = [&](DIALOG *, int) {
            during = font;
            return closing;
        };
        editor_help();
        EXPECT_EQ(data1[OBJ_FONT_TEXT].dat, during) << closing;
        ASSERT_EQ(1u, fake::palettes.size());
        EXPECT_EQ(data1[OBJ_PALETTE].dat, fake::palettes[0]);
        EXPECT_EQ(editor_font, font) << "the editor's font comes back after " << closing;
    }
    font = saved;
}
