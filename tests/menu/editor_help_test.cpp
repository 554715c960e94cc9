#include "menu/editor_help.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "field/tile_kind.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/text_encoding.h"
#include "support/fakes.h"

namespace {

// The editor's palette order.
const char *const palette = "A.*OCVFI-WENS+B#neswX";

bool overlap(const DIALOG &a, const DIALOG &b)
{
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

}  // namespace

TEST(EditorHelp, EveryToolInPaletteOrderWithATextOfItsOwn)
{
    int runs = 0;
    fake::dialog_hook = [&](DIALOG *d, int focus) {
        runs++;
        EXPECT_EQ(-1, focus);
        EXPECT_EQ(nullptr, d[44].proc) << "panel, Ok, 21 pictures and 21 texts";
        EXPECT_EQ(d_box_proc, d[0].proc);
        EXPECT_EQ(0xffffb6, d[0].bg);
        EXPECT_LE(d[0].y + d[0].h, 572) << "the editor's status line stays visible";
        EXPECT_EQ(d_button_proc, d[1].proc);
        EXPECT_EQ(D_EXIT, d[1].flags);
        EXPECT_STREQ("Ok", static_cast<const char *>(d[1].dp));

        std::set<std::string> texts;
        for (int k = 0; k < 21; k++) {
            const DIALOG &p = d[2 + 2 * k];
            const DIALOG &t = d[3 + 2 * k];
            SCOPED_TRACE("tool " + std::to_string(k));
            EXPECT_EQ(d_bitmap_proc, p.proc);
            EXPECT_EQ(data1[tile_kind_of(palette[k])->palette].dat, p.dp);
            EXPECT_EQ(d_textbox_proc, t.proc);
            EXPECT_EQ(p.y, t.y) << "each text beside its picture";
            EXPECT_EQ(0xffffb6, t.bg);
            texts.insert(static_cast<const char *>(t.dp));
            // Reading order: down the left column, then down the right one.
            if (k > 0) {
                const DIALOG &before = d[2 * k];
                EXPECT_TRUE(p.y > before.y || p.x > before.x);
            }
            for (int i = 1; i < 44; i++) {
                if (i == 2 + 2 * k)
                    continue;
                EXPECT_FALSE(overlap(p, d[i])) << i;
            }
            EXPECT_TRUE(t.x >= d[0].x && t.x + t.w <= d[0].x + d[0].w && t.y + t.h <= d[1].y);
        }
        EXPECT_EQ(21u, texts.size()) << "no two tools share a text";
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
        const char *text = static_cast<const char *>(d[3].dp);
        EXPECT_EQ(std::strlen(L1("Lähtöruutu")), std::strlen("L\xe4ht\xf6ruutu"));
        EXPECT_EQ(0, std::strncmp(text, "L\xe4ht\xf6ruutu", 10));
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
