#include "menu/editor.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "field/file_select.h"
#include "field/grid.h"
#include "field/tile_kind.h"
#include "shell/data1.h"
#include "shell/globals.h"
#include "support/fakes.h"

namespace {

const char *const tools = "A.*OCVFI-WENS+B#";
const int FLAG_TOOL = 7;
const int OPEN = 17, SAVE = 18, LEAVE = 19, NEW = 20, HELP = 21;

const std::string inner_floor = "*............*";
const std::string ring = "**************";

std::string blank_board()
{
    std::string s = ring + "*AF..........*";
    for (int i = 0; i < 11; i++)
        s += inner_floor;
    return s + ring;
}

using Step = std::function<int(DIALOG *)>;

// Plays the player: each run of the editor's dialog takes the next step (then "Lopeta");
// the help panel is closed with its "Ok".
void play(std::vector<Step> steps)
{
    auto script = std::make_shared<std::vector<Step>>(std::move(steps));
    auto next = std::make_shared<size_t>(0);
    fake::dialog_hook = [script, next](DIALOG *d, int focus) {
        EXPECT_EQ(-1, focus);
        if (d[0].proc != d_my_bitmap_proc)
            return 1;
        if (*next >= script->size())
            return LEAVE;
        return (*script)[(*next)++](d);
    };
}

char *text_of(DIALOG *d)
{
    return static_cast<char *>(d[0].dp2);
}

BITMAP *board_of(DIALOG *d)
{
    return static_cast<BITMAP *>(d[0].dp);
}

BITMAP *picture(int object)
{
    return static_cast<BITMAP *>(data1[object].dat);
}

int click(DIALOG *d, int x, int y)
{
    mouse_x = x;
    mouse_y = y;
    int r = d[0].proc(MSG_CLICK, &d[0], 0);
    mouse_x = 0;
    mouse_y = 0;
    return r;
}

struct BitmapDeleter {
    void operator()(BITMAP *b) const { destroy_bitmap(b); }
};
using Bitmap = std::unique_ptr<BITMAP, BitmapDeleter>;

Bitmap copy_of(BITMAP *b)
{
    Bitmap c(create_bitmap(b->w, b->h));
    blit(b, c.get(), 0, 0, 0, 0, b->w, b->h);
    return c;
}

// Pixels of the 39 by 39 cell that differ from `pic` laid over `under` as a sprite:
// the picture's mask colour lets the old pixel through.
int cell_mismatches(BITMAP *board, BITMAP *under, int row, int col, BITMAP *pic)
{
    int bad = 0;
    int mask = bitmap_mask_color(pic);
    for (int y = 0; y < grid::cell; y++)
        for (int x = 0; x < grid::cell; x++) {
            int want = getpixel(under, grid::cell * col + x, grid::cell * row + y);
            if (x < pic->w && y < pic->h && getpixel(pic, x, y) != mask)
                want = getpixel(pic, x, y);
            if (getpixel(board, grid::cell * col + x, grid::cell * row + y) != want)
                bad++;
        }
    return bad;
}

int cell_pixels_not(BITMAP *board, int row, int col, int colour)
{
    int bad = 0;
    for (int y = 0; y < grid::cell; y++)
        for (int x = 0; x < grid::cell; x++)
            if (getpixel(board, grid::cell * col + x, grid::cell * row + y) != colour)
                bad++;
    return bad;
}

int pixels_differing(BITMAP *a, BITMAP *b)
{
    int bad = 0;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++)
            if (getpixel(a, x, y) != getpixel(b, x, y))
                bad++;
    return bad;
}

std::string level_file_of(const std::string &board)
{
    std::string s;
    for (int i = 0; i < 14; i++)
        s += board.substr(14 * i, 14) + "\n";
    return s + "noname\n9999\n";
}

bool exists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

}  // namespace

TEST(Editor, DialogHasItsTwentyTwoObjectsInBindingOrder)
{
    clear_to_color(screen, makecol(9, 9, 9));
    play({[](DIALOG *d) {
        EXPECT_EQ(nullptr, d[22].proc) << "22 objects, then the terminator";
        EXPECT_EQ(0, getpixel(screen, 799, 599)) << "the screen is cleared to colour 0";

        EXPECT_EQ(d_my_bitmap_proc, d[0].proc);
        EXPECT_EQ(16, d[0].x);
        EXPECT_EQ(16, d[0].y);
        EXPECT_EQ(546, d[0].w);
        EXPECT_EQ(546, d[0].h);
        EXPECT_EQ(D_EXIT, d[0].flags);
        EXPECT_EQ(0, d[0].fg);
        EXPECT_EQ(0, d[0].bg);
        EXPECT_EQ(0, d[0].d1);
        EXPECT_EQ(0, d[0].d2);
        BITMAP *board = board_of(d);
        EXPECT_EQ(546, board->w);
        EXPECT_EQ(546, board->h);
        EXPECT_EQ(blank_board(), text_of(d));
        EXPECT_EQ(0, *static_cast<char *>(d[0].dp3)) << "no tool before one is chosen";

        for (int t = 1; t <= 16; t++) {
            SCOPED_TRACE("tool " + std::to_string(t));
            EXPECT_EQ(d_icon_proc, d[t].proc);
            EXPECT_EQ(592 + 48 * ((t - 1) % 4), d[t].x);
            EXPECT_EQ(56 + 48 * ((t - 1) / 4), d[t].y);
            EXPECT_EQ(grid::cell, d[t].w);
            EXPECT_EQ(grid::cell, d[t].h);
            EXPECT_EQ(D_EXIT, d[t].flags);
            EXPECT_EQ(0, d[t].fg);
            EXPECT_EQ(0, d[t].bg);
            EXPECT_EQ(data1[tile_kind_of(tools[t - 1])->palette].dat, d[t].dp);
        }
        struct Button {
            int index, y;
            const char *text;
        } buttons[] = {{17, 288, "Avaa"}, {18, 320, "Tallenna"}, {19, 384, "Lopeta"}, {20, 256, "Uusi"}, {21, 352, "Apua"}};
        for (const Button &b : buttons) {
            const DIALOG &o = d[b.index];
            SCOPED_TRACE(b.text);
            EXPECT_EQ(d_button_proc, o.proc);
            EXPECT_EQ(592, o.x);
            EXPECT_EQ(b.y, o.y);
            EXPECT_EQ(88, o.w);
            EXPECT_EQ(24, o.h);
            EXPECT_EQ(0, o.fg);
            EXPECT_EQ(0xaaaaaa, o.bg);
            EXPECT_EQ(0, o.key);
            EXPECT_EQ(D_EXIT, o.flags);
            EXPECT_STREQ(b.text, static_cast<const char *>(o.dp));
        }

        // The blank board drawn onto a black picture: walls, the start, the flag and floor.
        Bitmap black(create_bitmap(546, 546));
        clear_to_color(black.get(), 0);
        EXPECT_EQ(0, cell_mismatches(board, black.get(), 0, 0, picture(OBJ_WALL)));
        EXPECT_EQ(0, cell_mismatches(board, black.get(), 13, 7, picture(OBJ_WALL)));
        EXPECT_EQ(0, cell_mismatches(board, black.get(), 1, 1, picture(OBJ_START)));
        EXPECT_EQ(0, cell_mismatches(board, black.get(), 1, 2, picture(OBJ_FLAG)));
        EXPECT_EQ(0, cell_mismatches(board, black.get(), 6, 9, picture(OBJ_FLOOR)));
        return LEAVE;
    }});
    EXPECT_EQ("levels/mine.vkl", editor("levels/mine.vkl"));
    EXPECT_EQ(std::vector<std::string>{"do_dialog"}, fake::dialogs);
}

TEST(Editor, ClickRuleCountsCellsFromTheScreenCorner)
{
    play({[](DIALOG *) { return FLAG_TOOL; },
          [](DIALOG *d) {
              std::string want = blank_board();
              // Inside the displayed border cell at row 0, column 0: still row 0, column 0.
              EXPECT_EQ(D_REDRAWME, click(d, 20, 20));
              EXPECT_EQ(want, text_of(d));
              EXPECT_EQ(D_REDRAWME, click(d, 38, 38));
              EXPECT_EQ(want, text_of(d));
              // Still inside that displayed cell, but counted as row 1, column 1.
              EXPECT_EQ(D_REDRAWME, click(d, 39, 39));
              want[15] = 'F';
              EXPECT_EQ(want, text_of(d));
              // Shown in row 3, column 5; 240 / 39 = 6, 138 / 39 = 3.
              click(d, 240, 138);
              want[3 * 14 + 6] = 'F';
              EXPECT_EQ(want, text_of(d));
              // Last inner pixel: 506 / 39 = 12.
              click(d, 506, 506);
              want[12 * 14 + 12] = 'F';
              EXPECT_EQ(want, text_of(d));
              // Border rows and columns, and beyond the board, change nothing.
              for (auto xy : std::vector<std::pair<int, int>>{
                       {5, 200}, {200, 5}, {507, 200}, {200, 507}, {545, 545}, {561, 300}, {300, 561}, {700, 100}}) {
                  EXPECT_EQ(D_REDRAWME, click(d, xy.first, xy.second));
                  EXPECT_EQ(want, text_of(d)) << xy.first << "," << xy.second;
              }
              return LEAVE;
          }});
    editor("x.vkl");
}

TEST(Editor, DragPaintsEveryCellOnTheWay)
{
    // While the button is held the dialog manager repeats the click message as the pointer moves.
    play({[](DIALOG *) { return 3; },  // wall
          [](DIALOG *d) {
              std::string want = blank_board();
              for (int x = 60; x <= 260; x += 10)
                  click(d, x, 200);
              for (int col = 1; col <= 6; col++)
                  want[5 * 14 + col] = '*';
              EXPECT_EQ(want, text_of(d));
              return LEAVE;
          }});
    editor("x.vkl");
}

TEST(Editor, WithoutAChosenToolClicksPaintNothing)
{
    BITMAP *saved_sprite = mouse_sprite;
    Bitmap arrow(create_bitmap(10, 16));
    mouse_sprite = arrow.get();
    switch_pointer = picture(OBJ_WALL);  // left over from an earlier editor run
    play({[&](DIALOG *d) {
        EXPECT_EQ(nullptr, switch_pointer);
        Bitmap before = copy_of(board_of(d));
        for (int x = 40; x < 500; x += grid::cell)
            click(d, x, x);
        EXPECT_EQ(blank_board(), text_of(d));
        EXPECT_EQ(0, pixels_differing(board_of(d), before.get()));
        // The pointer over the board matches: the one the editor started with.
        d[0].proc(MSG_GOTMOUSE, &d[0], 0);
        EXPECT_EQ(arrow.get(), fake::mouse_sprites.back());
        return LEAVE;
    }});
    editor("x.vkl");
    mouse_sprite = saved_sprite;
}

TEST(Editor, EachToolPaintsItsCodeAndPicture)
{
    std::vector<Step> steps;
    for (int t = 1; t <= 16; t++) {
        int row = 1 + 3 * ((t - 1) / 4), col = 1 + 3 * ((t - 1) % 4);
        steps.push_back([t](DIALOG *) { return t; });
        steps.push_back([t, row, col](DIALOG *d) {
            SCOPED_TRACE("tool " + std::to_string(t));
            BITMAP *pic = picture(tile_kind_of(tools[t - 1])->palette);
            EXPECT_EQ(pic, switch_pointer);
            EXPECT_EQ(tools[t - 1], *static_cast<char *>(d[0].dp3));
            Bitmap before = copy_of(board_of(d));
            std::string want = text_of(d);
            click(d, grid::cell_centre(col), grid::cell_centre(row));
            want[14 * row + col] = tools[t - 1];
            EXPECT_EQ(want, text_of(d));
            EXPECT_EQ(0, cell_mismatches(board_of(d), before.get(), row, col, pic));
            return -1;  // Esc: the dialog runs again
        });
    }
    play(steps);
    EXPECT_EQ("x.vkl", editor("x.vkl"));
    EXPECT_EQ(33u, fake::dialogs.size());
}

TEST(Editor, PointerFollowsTheBoardAndTheChosenTool)
{
    BITMAP *saved_sprite = mouse_sprite;
    Bitmap arrow(create_bitmap(10, 16));
    mouse_sprite = arrow.get();
    play({[&](DIALOG *d) {
              EXPECT_EQ(arrow.get(), mysha);
              d[0].proc(MSG_GOTMOUSE, &d[0], 0);
              EXPECT_EQ(arrow.get(), fake::mouse_sprites.back());
              d[0].proc(MSG_LOSTMOUSE, &d[0], 0);
              EXPECT_EQ(arrow.get(), fake::mouse_sprites.back());
              return 11;  // "E"
          },
          [&](DIALOG *d) {
              BITMAP *tube = picture(OBJ_TUBE_NSE);
              d[0].proc(MSG_GOTMOUSE, &d[0], 0);
              EXPECT_EQ(tube, fake::mouse_sprites.back());
              d[0].proc(MSG_LOSTMOUSE, &d[0], 0);
              EXPECT_EQ(arrow.get(), fake::mouse_sprites.back());
              d[0].proc(MSG_GOTFOCUS, &d[0], 0);
              EXPECT_EQ(tube, fake::mouse_sprites.back());
              d[0].proc(MSG_LOSTFOCUS, &d[0], 0);
              EXPECT_EQ(arrow.get(), fake::mouse_sprites.back());
              d[0].proc(MSG_GOTMOUSE, &d[0], 0);
              return LEAVE;  // left while the board still shows the tool
          }});
    editor("x.vkl");
    EXPECT_EQ(arrow.get(), fake::mouse_sprites.back()) << "the menu gets its own pointer back";
    for (BITMAP *b : fake::mouse_sprites)
        EXPECT_NE(nullptr, b) << "a null sprite would make the library free the arrow mysha holds";
    EXPECT_EQ(picture(OBJ_TUBE_NSE), switch_pointer);
    mouse_sprite = saved_sprite;
}

TEST(DrawMyfield, UnknownCodesLeaveTheirCellsUntouched)
{
    Bitmap bmp(create_bitmap(546, 546));
    int sentinel = makecol(1, 2, 3);
    clear_to_color(bmp.get(), sentinel);
    Bitmap under = copy_of(bmp.get());
    std::string text = blank_board();
    const char unknown[] = {'X', 's', 'e', 'n', 'w', 'Z', 'a', '?', '1', ' '};
    for (int k = 0; k < 10; k++)
        text[14 * (2 + k) + 2 + k] = unknown[k];
    draw_myfield(bmp.get(), &text[0]);
    for (int k = 0; k < 10; k++)
        EXPECT_EQ(0, cell_pixels_not(bmp.get(), 2 + k, 2 + k, sentinel)) << unknown[k];
    EXPECT_EQ(0, cell_mismatches(bmp.get(), under.get(), 0, 5, picture(OBJ_WALL)));
    EXPECT_EQ(0, cell_mismatches(bmp.get(), under.get(), 2, 3, picture(OBJ_FLOOR)));
    EXPECT_EQ(0, cell_mismatches(bmp.get(), under.get(), 1, 2, picture(OBJ_FLAG)));

    // A text that ends early: the cells past its end are left alone too.
    clear_to_color(bmp.get(), sentinel);
    char short_text[] = "**************A.F";
    draw_myfield(bmp.get(), short_text);
    EXPECT_EQ(0, cell_mismatches(bmp.get(), under.get(), 1, 0, picture(OBJ_START)));
    EXPECT_EQ(0, cell_mismatches(bmp.get(), under.get(), 1, 2, picture(OBJ_FLAG)));
    EXPECT_EQ(0, cell_pixels_not(bmp.get(), 1, 3, sentinel));
    EXPECT_EQ(0, cell_pixels_not(bmp.get(), 7, 7, sentinel));
}

TEST(Editor, NewBoardSavedUnderTheOfferedNameIsTheBlankLevel)
{
    std::string dir = make_temp_dir();
    play({[](DIALOG *) { return FLAG_TOOL; },
          [](DIALOG *d) {
              click(d, 100, 100);
              return NEW;
          },
          [&](DIALOG *d) {
              EXPECT_EQ(blank_board(), text_of(d));
              fake::file_select_hook = [&](char *path, int) {
                  EXPECT_STREQ("nimeton.vkl", path);
                  std::strcpy(path, (dir + "/nimeton.vkl").c_str());
                  return -1;
              };
              return SAVE;
          }});
    EXPECT_EQ("levels/current.vkl", editor("levels/current.vkl"));
    const std::string expected =
        "**************\n"
        "*AF..........*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "**************\n"
        "noname\n"
        "9999\n";
    EXPECT_EQ(expected, read_file(dir + "/nimeton.vkl"));
    EXPECT_TRUE(fake::alerts.empty());
}

TEST(Editor, SaveReplacesTheCurrentLevelWithThePaintedBoard)
{
    std::string dir = make_temp_dir();
    std::string name = dir + "/oma.vkl";
    write_file(name, std::string(3000, 'x'));
    play({[](DIALOG *) { return FLAG_TOOL; },
          [](DIALOG *d) {
              click(d, 240, 138);
              fake::file_select_hook = [](char *, int) { return -1; };  // the offered name as it is
              return SAVE;
          }});
    editor(name);
    ASSERT_EQ(1u, fake::file_selects.size());
    EXPECT_EQ(name, fake::file_selects[0].path);
    EXPECT_EQ("Tallenna kentt\xc3\xa4", fake::file_selects[0].message);
    const std::string expected =
        "**************\n"
        "*AF..........*\n"
        "*............*\n"
        "*.....F......*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "*............*\n"
        "**************\n"
        "noname\n"
        "9999\n";
    EXPECT_EQ(expected, read_file(name));
}

TEST(Editor, CancelledSaveWritesNothing)
{
    std::string dir = make_temp_dir();
    std::string name = dir + "/vanha.vkl";
    fake::file_select_hook = [](char *path, int) {
        std::strcpy(path, "/somewhere/else.vkl");
        return 0;
    };
    play({[](DIALOG *) { return SAVE; }, [](DIALOG *) { return SAVE; }});
    editor(name);
    ASSERT_EQ(2u, fake::file_selects.size());
    EXPECT_EQ(name, fake::file_selects[1].path) << "a cancel leaves the editor's file name alone";
    EXPECT_FALSE(exists(name));
    EXPECT_TRUE(fake::alerts.empty());
}

TEST(Editor, FailedSaveShowsTheAlertAndOffersTheChosenNameAgain)
{
    std::string dir = make_temp_dir();
    std::string bad = dir + "/no/such/folder/k.vkl";
    int calls = 0;
    fake::file_select_hook = [&](char *path, int) {
        if (calls++ == 0)
            std::strcpy(path, bad.c_str());
        return calls == 1 ? -1 : 0;
    };
    play({[](DIALOG *) { return SAVE; }, [](DIALOG *) { return SAVE; }});
    editor(dir + "/current.vkl");
    ASSERT_EQ(1u, fake::alerts.size());
    const fake::AlertCall &a = fake::alerts[0];
    EXPECT_EQ("Virhe kentän tallennuksessa", a.s1);
    EXPECT_EQ("", a.s2);
    EXPECT_EQ("", a.s3);
    EXPECT_EQ("Ok", a.b1);
    EXPECT_EQ("(null)", a.b2);
    EXPECT_EQ(-1, a.c1);
    EXPECT_EQ(-1, a.c2);
    ASSERT_EQ(2u, fake::file_selects.size());
    EXPECT_EQ(bad, fake::file_selects[1].path);
}

TEST(Editor, OpenTakesTheLevelItsPicturesAndItsName)
{
    std::string dir = make_temp_dir();
    std::string lab = dir + "/lab.vkl";
    std::string rows = ring + "*A..........F*" + "*.OO.....+-..*";
    for (int i = 0; i < 10; i++)
        rows += inner_floor;
    rows += ring;
    write_file(lab, level_file_of(rows));
    auto before = std::make_shared<Bitmap>();
    play({[&](DIALOG *d) {
              *before = copy_of(board_of(d));
              fake::file_select_hook = [&](char *path, int size) {
                  EXPECT_EQ(path_buffer_size - 1, size);
                  std::strcpy(path, lab.c_str());
                  return -1;
              };
              return OPEN;
          },
          [&](DIALOG *d) {
              EXPECT_EQ(rows, text_of(d));
              BITMAP *board = board_of(d);
              EXPECT_EQ(0, cell_mismatches(board, before->get(), 2, 2, picture(OBJ_HOLE)));
              EXPECT_EQ(0, cell_mismatches(board, before->get(), 2, 9, picture(OBJ_TUBE_X)));
              EXPECT_EQ(0, cell_mismatches(board, before->get(), 1, 12, picture(OBJ_FLAG)));
              fake::file_select_hook = [](char *, int) { return 0; };
              return SAVE;
          }});
    editor(dir + "/current.vkl");
    ASSERT_EQ(2u, fake::file_selects.size());
    EXPECT_EQ("Valitse labyrintti", fake::file_selects[0].message);
    EXPECT_EQ("standardfile.vkl", fake::file_selects[0].path);
    EXPECT_EQ(lab, fake::file_selects[1].path) << "the opened level's name is offered for saving";
    EXPECT_TRUE(fake::alerts.empty());
}

TEST(Editor, CancelledOpenChangesNothing)
{
    play({[](DIALOG *) { return 2; },
          [](DIALOG *d) {
              click(d, 100, 100);
              fake::file_select_hook = [](char *path, int) {
                  std::strcpy(path, "/elsewhere.vkl");
                  return 0;
              };
              return OPEN;
          },
          [](DIALOG *d) {
              std::string want = blank_board();
              EXPECT_EQ(want, text_of(d)) << "the floor tool painted floor on floor";
              fake::file_select_hook = [](char *, int) { return 0; };
              return SAVE;
          }});
    editor("current.vkl");
    ASSERT_EQ(2u, fake::file_selects.size());
    EXPECT_EQ("current.vkl", fake::file_selects[1].path);
    EXPECT_TRUE(fake::alerts.empty());
}

TEST(Editor, UnreadableLevelKeepsTheBoardAndTheOldName)
{
    std::string dir = make_temp_dir();
    std::string current = dir + "/current.vkl";
    std::string missing = dir + "/puuttuu.vkl";
    auto painted = std::make_shared<std::string>();
    play({[](DIALOG *) { return FLAG_TOOL; },
          [&](DIALOG *d) {
              click(d, 200, 200);
              *painted = text_of(d);
              fake::file_select_hook = [&](char *path, int) {
                  std::strcpy(path, missing.c_str());
                  return -1;
              };
              return OPEN;
          },
          [&](DIALOG *d) {
              EXPECT_EQ(*painted, text_of(d));
              fake::file_select_hook = [](char *, int) { return -1; };  // save under the offered name
              return SAVE;
          }});
    editor(current);
    ASSERT_EQ(1u, fake::alerts.size());
    EXPECT_EQ("Kentän avaaminen epäonnistui", fake::alerts[0].s1);
    EXPECT_EQ("puuttuu.vkl", fake::alerts[0].s2);
    EXPECT_EQ("", fake::alerts[0].s3);
    EXPECT_EQ("Ok", fake::alerts[0].b1);
    EXPECT_EQ(-1, fake::alerts[0].c1);
    EXPECT_EQ(-1, fake::alerts[0].c2);
    ASSERT_EQ(2u, fake::file_selects.size());
    EXPECT_EQ(current, fake::file_selects[1].path);
    EXPECT_FALSE(exists(missing)) << "the unreadable file's name must not be saved over";
    EXPECT_EQ(level_file_of(*painted), read_file(current));
}

TEST(Editor, EscAndHelpStayInTheEditor)
{
    play({[](DIALOG *) { return -1; }, [](DIALOG *) { return HELP; }, [](DIALOG *) { return 0; }});
    EXPECT_EQ("current.vkl", editor("current.vkl"));
    EXPECT_EQ((std::vector<std::string>{"do_dialog", "do_dialog", "popup_dialog", "do_dialog", "do_dialog"}),
              fake::dialogs);
}

// The window's close button (close_requested, and an Esc that closed the dialog) over a board
// painted since it was last saved: the editor asks; "Tallenna" saves through the chooser and
// lets the game quit, "Peruuta" keeps editing. An unchanged board is left without a question.
TEST(Editor, CloseButtonAsksAboutAnUnsavedBoard)
{
    std::string dir = make_temp_dir();
    std::string name = dir + "/oma.vkl";
    play({[](DIALOG *) { return FLAG_TOOL; },
          [](DIALOG *d) {
              click(d, 240, 138);
              close_requested = true;
              return -1;
          },
          [](DIALOG *) {
              EXPECT_FALSE(close_requested) << "Peruuta keeps the editor";
              close_requested = true;
              fake::alert3_result = 1;  // "Tallenna"
              fake::file_select_hook = [](char *, int) { return -1; };
              return -1;
          },
          [](DIALOG *) {
              ADD_FAILURE() << "the editor went on after the board was saved";
              return LEAVE;
          }});
    EXPECT_EQ(name, editor(name));
    EXPECT_TRUE(close_requested) << "the game quits once the board is saved";
    ASSERT_EQ(2u, fake::alert3s.size());
    EXPECT_EQ("Kenttää ei ole tallennettu.", fake::alert3s[0].s1);
    EXPECT_EQ("Tallenna", fake::alert3s[0].b1);
    EXPECT_EQ("Hylkää", fake::alert3s[0].b2);
    EXPECT_EQ("Peruuta", fake::alert3s[0].b3);
    EXPECT_EQ('F', read_file(name)[3 * 15 + 6]) << "row 3, column 6 painted and saved";

    // The board as saved: quitting loses nothing, so nothing is asked.
    fake::reset();
    close_requested = false;
    play({[](DIALOG *) {
              close_requested = true;
              return -1;
          },
          [](DIALOG *) {
              ADD_FAILURE() << "the editor went on after the close button";
              return LEAVE;
          }});
    editor(name);
    EXPECT_TRUE(fake::alert3s.empty());
    EXPECT_TRUE(close_requested);
    close_requested = false;
}
