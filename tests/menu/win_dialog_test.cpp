// The won run's panel and the name typed into it, driven as the dialog manager drives it.
#include <allegro.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "menu/win_dialog.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/session_end.h"
#include "platform/text_encoding.h"
#include "records/player_records.h"
#include "support/fakes.h"

namespace {

enum { panel_obj, name_obj, next_obj, again_obj, menu_obj, refusal_obj };
const std::string level = "00000000000000aa";

using Round = std::function<int(DIALOG *)>;

// Plays the player's part: one step per run of the dialog, each returning what closed it. Each
// run begins as the dialog manager begins it, with MSG_START to every object.
void play(std::vector<Round> rounds)
{
    auto runs = std::make_shared<size_t>(0);
    fake::dialog_hook = [rounds, runs](DIALOG *d, int) {
        if (*runs >= rounds.size()) {
            ADD_FAILURE() << "the dialog ran more often than the player acted";
            return -1;
        }
        for (DIALOG *o = d; o->proc; o++)
            o->proc(MSG_START, o, 0);
        return rounds[(*runs)++](d);
    };
}

// A key as the dialog manager hands it to the object with the focus: MSG_CHAR with the scan
// code and the character as Latin-1 ('^' beyond it), then, unless that used it, MSG_UCHAR with
// the whole character. What the object answered.
int press(DIALOG *d, int scancode, int ch)
{
    int r = d->proc(MSG_CHAR, d, scancode << 8 | (ch <= 0xff ? ch : '^'));
    if (r & (D_USED_CHAR | D_CLOSE))
        return r;
    return d->proc(MSG_UCHAR, d, ch);
}

void type(DIALOG *d, const std::u32string &text)
{
    for (char32_t ch : text)
        press(d, 0, static_cast<int>(ch));
}

std::string name_in(DIALOG *d)
{
    return static_cast<const char *>(d[name_obj].dp);
}

// Pixels of the refusal's red in the line under the table.
int refusal_ink(DIALOG *d)
{
    const DIALOG &line = d[refusal_obj];
    int n = 0;
    for (int y = line.y; y < line.y + line.h; y++)
        for (int x = line.x; x < line.x + line.w; x++)
            n += getpixel(screen, x, y) == makecol(180, 30, 20);
    return n;
}

// The pixels of `ink` in a bitmap, cut to the rectangle around them: one string per row.
std::vector<std::string> ink_shape(BITMAP *bmp, int ink)
{
    int x1 = bmp->w, y1 = bmp->h, x2 = -1, y2 = -1;
    for (int y = 0; y < bmp->h; y++)
        for (int x = 0; x < bmp->w; x++)
            if (getpixel(bmp, x, y) == ink) {
                x1 = std::min(x1, x), x2 = std::max(x2, x);
                y1 = std::min(y1, y), y2 = std::max(y2, y);
            }
    std::vector<std::string> rows;
    for (int y = y1; y <= y2; y++) {
        rows.emplace_back();
        for (int x = x1; x <= x2; x++)
            rows.back() += getpixel(bmp, x, y) == ink ? '#' : '.';
    }
    return rows;
}

int red() { return makecol(180, 30, 20); }

// What a line in the panel's red looks like, written alone in the menu font.
std::vector<std::string> red_line(const char *text)
{
    BITMAP *bmp = create_bitmap(600, 60);
    clear_to_color(bmp, makecol(255, 255, 255));
    textout_ex(bmp, static_cast<FONT *>(data1[OBJ_FONT_MENU].dat), text, 20, 20, red(), -1);
    std::vector<std::string> shape = ink_shape(bmp, red());
    destroy_bitmap(bmp);
    return shape;
}

// The red on the screen once the panel alone is drawn: the line under its time.
std::vector<std::string> panel_red(DIALOG *d)
{
    clear_to_color(screen, makecol(0, 0, 0));
    object_message(&d[panel_obj], MSG_DRAW, 0);
    return ink_shape(screen, red());
}

// The red of the line under the table, drawn alone.
std::vector<std::string> note_red(DIALOG *d)
{
    clear_to_color(screen, makecol(0, 0, 0));
    object_message(&d[refusal_obj], MSG_DRAW, 0);
    return ink_shape(screen, red());
}

class WinPanel : public ::testing::Test {
protected:
    std::string dir = make_temp_dir();
    char before[PATH_MAX] = "";
    void SetUp() override
    {
        ASSERT_TRUE(getcwd(before, sizeof before));
        ASSERT_EQ(0, chdir(dir.c_str()));
        player_records = record_table();
        player_records.last_name = "Vanha";  // the name offered
    }
    void TearDown() override
    {
        for (int k = 0; k < KEY_MAX; k++)
            key[k] = 0;
        player_records = record_table();
        EXPECT_EQ(0, chdir(before));
        std::filesystem::remove_all(dir);
    }
};

}  // namespace

// An arrow held as the last flag is taken: what it put in the buffer is dropped, its repeats
// neither move the cursor nor the buttons' focus until it is let go, and the first letter
// typed replaces the offered name. Enter held on after naming presses no button.
TEST_F(WinPanel, KeysHeldFromTheRunDoNotReachThePanel)
{
    key[KEY_LEFT] = key[KEY_RIGHT] = 1;
    fake::keys = {KEY_LEFT << 8, KEY_LEFT << 8};
    play({[](DIALOG *d) {
              EXPECT_TRUE(fake::keys.empty());
              DIALOG *name = &d[name_obj];
              EXPECT_EQ("Vanha", name_in(d));
              for (int i = 0; i < 3; i++)
                  EXPECT_EQ(D_USED_CHAR, press(name, KEY_LEFT, 0));
              EXPECT_EQ(5, name->d2);
              // While the name is typed no button takes the focus, whatever the pointer does.
              EXPECT_EQ(D_O_K, d[next_obj].proc(MSG_WANTFOCUS, &d[next_obj], 0));
              type(name, U"root");
              EXPECT_EQ("root", name_in(d));
              key[KEY_LEFT] = 0;  // let go: from now on Left is typing
              d[panel_obj].proc(MSG_IDLE, &d[panel_obj], 0);
              press(name, KEY_LEFT, 0);
              type(name, U"x");
              EXPECT_EQ("rooxt", name_in(d));
              press(name, KEY_RIGHT, 0);  // still held
              type(name, U"y");
              EXPECT_EQ("rooxyt", name_in(d));
              key[KEY_ENTER] = 1;  // and held on
              return press(name, KEY_ENTER, '\r') & D_CLOSE ? name_obj : -1;
          },
          [](DIALOG *d) {
              EXPECT_NE(0, d[name_obj].flags & D_HIDDEN);
              EXPECT_EQ(D_WANTFOCUS, d[again_obj].proc(MSG_WANTFOCUS, &d[again_obj], 0) & D_WANTFOCUS);
              EXPECT_EQ(D_USED_CHAR, press(&d[next_obj], KEY_RIGHT, 0));  // no focus moved
              EXPECT_EQ(D_USED_CHAR, press(&d[next_obj], KEY_ENTER, '\r'));  // Seuraava not pressed
              return next_obj;
          }});
    EXPECT_EQ(win_next, win_dialog(level, 1234));
    EXPECT_EQ("rooxyt", player_records.last_name);
    ASSERT_EQ(1u, player_records.table(level).size());
    EXPECT_EQ("rooxyt", player_records.table(level)[0].name);
    EXPECT_NE(std::string::npos, read_file("vinkla.rec").find(level + "\t1234\t"));
}

// Tab and the keys that would move the focus do nothing while the name is typed; Esc ends the
// panel with the run kept under the name typed. Enter on an empty name (or only spaces) is
// refused with a note under the table; the name offered is not taken for it.
TEST_F(WinPanel, TheNameKeepsTheKeysUntilEnterOrEsc)
{
    play({[](DIALOG *d) {
        DIALOG *name = &d[name_obj];
        EXPECT_EQ(D_USED_CHAR, press(name, KEY_TAB, '\t'));
        EXPECT_EQ(D_USED_CHAR, press(name, KEY_UP, 0));
        EXPECT_EQ(D_USED_CHAR, press(name, KEY_DOWN, 0));
        EXPECT_EQ("Vanha", name_in(d));  // nothing typed yet
        type(name, U"Anna");
        EXPECT_EQ(D_USED_CHAR, press(name, KEY_TAB, '\t'));
        type(name, U" K");
        EXPECT_EQ("Anna K", name_in(d));
        EXPECT_EQ(0, press(name, KEY_ESC, 27) & (D_USED_CHAR | D_CLOSE));  // the manager's to close
        return -1;
    }});
    EXPECT_EQ(win_menu, win_dialog(level, 5000));
    ASSERT_EQ(1u, player_records.table(level).size());
    EXPECT_EQ("Anna K", player_records.table(level)[0].name);

    play({[](DIALOG *d) {
              DIALOG *name = &d[name_obj];
              for (int i = 0; i < 6; i++)
                  press(name, KEY_BACKSPACE, 8);
              EXPECT_EQ("", name_in(d));
              EXPECT_TRUE(note_red(d).empty());
              EXPECT_EQ(D_USED_CHAR, press(name, KEY_ENTER_PAD, '\r'));
              EXPECT_EQ(red_line(L1("Nimi ei voi olla tyhjä.")), note_red(d));
              type(name, U"  ");
              EXPECT_TRUE(note_red(d).empty());  // typing takes the note away
              EXPECT_EQ(D_USED_CHAR, press(name, KEY_ENTER, '\r'));
              EXPECT_EQ(red_line(L1("Nimi ei voi olla tyhjä.")), note_red(d));
              type(name, U"Eero");
              return press(name, KEY_ENTER, '\r') & D_CLOSE ? name_obj : -1;
          },
          [](DIALOG *d) {
              EXPECT_TRUE(note_red(d).empty());
              return again_obj;
          }});
    EXPECT_EQ(win_again, win_dialog(level, 4000));
    ASSERT_EQ(2u, player_records.table(level).size());
    EXPECT_EQ("Eero", player_records.table(level)[0].name);
    EXPECT_EQ("Eero", player_records.last_name);
}

// A name field emptied and left, by Esc (which the game presses too when the window is closed
// or the session ends) or with the X server gone, stores the run as "Pelaaja", never under the
// name offered.
TEST_F(WinPanel, AnEmptyNameLeftIsPelaaja)
{
    play({[](DIALOG *d) {
        for (int i = 0; i < 5; i++)
            press(&d[name_obj], KEY_BACKSPACE, 8);
        EXPECT_EQ("", name_in(d));
        EXPECT_EQ(0, press(&d[name_obj], KEY_ESC, 27) & (D_USED_CHAR | D_CLOSE));
        return -1;
    }});
    EXPECT_EQ(win_menu, win_dialog(level, 3000));
    ASSERT_EQ(1u, player_records.table(level).size());
    EXPECT_EQ("Pelaaja", player_records.table(level)[0].name);
    EXPECT_EQ("Pelaaja", player_records.last_name);
    EXPECT_NE(std::string::npos, read_file("vinkla.rec").find(level + "\t3000\t"));

    player_records.last_name = "Vanha";
    play({[](DIALOG *d) {
        for (int i = 0; i < 5; i++)
            press(&d[name_obj], KEY_BACKSPACE, 8);
        run_end_savers();  // as when the X server is gone
        const std::string file = read_file("vinkla.rec");
        EXPECT_NE(std::string::npos, file.find(level + "\t2000\t"));
        EXPECT_EQ(std::string::npos, file.find("Vanha"));
        return -1;
    }});
    win_dialog(level, 2000);
    ASSERT_EQ(2u, player_records.table(level).size());  // stored once
    EXPECT_EQ(2000, player_records.table(level)[0].time);
    EXPECT_EQ("Pelaaja", player_records.table(level)[0].name);
}

// The line under the time: "Uusi ennätys!" for a new best, the place for another row of the
// table, nothing for a run too slow for it.
TEST_F(WinPanel, ANewBestOrThePlaceInTheTable)
{
    player_records.enter(level, {1000, "2026-01-01", "Eka"});
    player_records.enter(level, {3000, "2026-01-01", "Toka"});
    auto shows = [](const char *text) {
        play({[text](DIALOG *d) {
            EXPECT_EQ(red_line(text), panel_red(d));
            return -1;
        }});
    };
    shows(L1("Uusi ennätys!"));
    win_dialog(level, 500);     // 500, 1000, 3000
    shows("3. sija taulukossa");
    win_dialog(level, 2000);    // 500, 1000, 2000, 3000
    shows("2. sija taulukossa");
    win_dialog(level, 500);     // a tie stands behind: 500, 500, 1000, 2000, 3000
    shows("5. sija taulukossa");
    win_dialog(level, 2999);    // 500, 500, 1000, 2000, 2999
    EXPECT_EQ(2999, player_records.table(level)[4].time);

    play({[](DIALOG *d) {
        EXPECT_TRUE(panel_red(d).empty());
        return menu_obj;
    }});
    EXPECT_EQ(win_menu, win_dialog(level, 2999));  // behind the fifth: not in the table
}

// A name is Latin-1: letters of Latin Extended-A become their base letters, the euro sign,
// typographic quotes and dashes their ASCII forms. What has none (Cyrillic, an emoji, which the
// library hands on as '^') is not inserted, and the line under the table says so until a
// character is taken again.
TEST_F(WinPanel, CharactersBeyondLatin1AreMappedOrRefused)
{
    play({[](DIALOG *d) {
        DIALOG *name = &d[name_obj];
        object_message(&d[refusal_obj], MSG_DRAW, 0);
        EXPECT_EQ(0, refusal_ink(d));
        type(name, U"я");
        EXPECT_EQ("Vanha", name_in(d));  // not replaced by what was refused
        EXPECT_GT(refusal_ink(d), 50);
        type(name, U"Štěpán Łódź");
        EXPECT_EQ(0, refusal_ink(d));
        EXPECT_EQ(L1("Stepán Lódz"), name_in(d));
        press(name, KEY_6, '^');
        type(name, U"\U0001F600\u0085");
        EXPECT_EQ(L1("Stepán Lódz"), name_in(d));
        EXPECT_GT(refusal_ink(d), 50);
        type(name, U" €“x”–Œ");
        EXPECT_EQ(L1("Stepán Lódz E\"x\"-OE"), name_in(d));
        EXPECT_EQ(0, refusal_ink(d));
        type(name, U"ĳ");  // one place is left of the twenty
        EXPECT_EQ(L1("Stepán Lódz E\"x\"-OEi"), name_in(d));
        return name_obj;
    }, [](DIALOG *) { return menu_obj; }});
    win_dialog(level, 1234);
    EXPECT_EQ(L1("Stepán Lódz E\"x\"-OEi"), player_records.last_name);

    play({[](DIALOG *d) {
        type(&d[name_obj], U"ŽžŠšĆćŐőŸſ‘’‚…−");
        EXPECT_EQ("ZzSsCcOoYs'''...-", name_in(d));
        return -1;
    }});
    win_dialog(level, 1000);
}
