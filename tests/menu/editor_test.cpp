#include "menu/editor.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "field/field.h"
#include "field/file_select.h"
#include "field/tile_kind.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/text_encoding.h"
#include "records/campaign.h"
#include "records/run_replay.h"
#include "records/run_time.h"
#include "rules/run_file.h"
#include "support/fakes.h"

namespace {

// Palette order; the dialog object of palette position k is k + 1 for the first sixteen and
// k + 6 for the slopes and the shutter, which came later.
const char *const tools = "A.*OCVFI-WENS+B#neswX";
int tool_object(int k)
{
    return k < 16 ? k + 1 : k + 6;
}
int palette_picture(int k)
{
    return tile_kind_of(tools[k])->palette;
}
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

// Pixels of the cell that differ from what a run draws for `code` there on its black screen
// (the picture under the marble, then the one over it); the editor shows the start's marker.
int cell_differs_from_game(BITMAP *board, int row, int col, char code)
{
    Bitmap want(create_bitmap(546, 546));
    clear_to_color(want.get(), makecol(0, 0, 0));
    const tile_kind *kind = tile_kind_of(code);
    int lower = code == 'A' ? kind->palette : kind->picture;
    if (lower != no_picture)
        draw_sprite(want.get(), picture(lower), 39 * col, 39 * row);
    if (kind->overlay != no_picture)
        draw_sprite(want.get(), picture(kind->overlay), 39 * col, 39 * row);
    int bad = 0;
    for (int y = 39 * row; y < 39 * row + 39; y++)
        for (int x = 39 * col; x < 39 * col + 39; x++)
            if (getpixel(board, x, y) != getpixel(want.get(), x, y))
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

TEST(Editor, DialogHoldsBoardPaletteButtonsAndStatusLine)
{
    clear_to_color(screen, makecol(9, 9, 9));
    play({[](DIALOG *d) {
        EXPECT_EQ(nullptr, d[30].proc) << "30 objects, then the terminator";
        EXPECT_EQ(0, getpixel(screen, 799, 599)) << "the screen is cleared to colour 0";

        EXPECT_EQ(d_my_bitmap_proc, d[0].proc);
        EXPECT_EQ(16, d[0].x);
        EXPECT_EQ(16, d[0].y);
        EXPECT_EQ(546, d[0].w);
        EXPECT_EQ(546, d[0].h);
        BITMAP *board = board_of(d);
        EXPECT_EQ(546, board->w);
        EXPECT_EQ(blank_board(), text_of(d));
        EXPECT_EQ(0, static_cast<editor_board *>(d[0].dp3)->tool) << "no tool before one is chosen";

        // Six palette rows of four: the sixteen old tools where they were, the new ones below.
        for (int k = 0; k < 21; k++) {
            SCOPED_TRACE("tool " + std::to_string(k));
            const DIALOG &t = d[tool_object(k)];
            EXPECT_EQ(592 + 48 * (k % 4), t.x);
            EXPECT_EQ(56 + 48 * (k / 4), t.y);
            EXPECT_EQ(39, t.w);
            EXPECT_EQ(D_EXIT, t.flags);
            EXPECT_EQ(data1[palette_picture(k)].dat, t.dp);
        }
        struct Button {
            int index, y;
            const char *text;
        } buttons[] = {{20, 352, "Uusi"},    {17, 384, "Avaa"}, {18, 416, "Tallenna"},
                       {27, 448, "Kokeile"}, {21, 480, "Apua"}, {19, 512, "Lopeta"}};
        for (const Button &b : buttons) {
            const DIALOG &o = d[b.index];
            SCOPED_TRACE(b.text);
            EXPECT_EQ(d_button_proc, o.proc);
            EXPECT_EQ(592, o.x);
            EXPECT_EQ(b.y, o.y);
            EXPECT_EQ(D_EXIT, o.flags);
            EXPECT_STREQ(b.text, static_cast<const char *>(o.dp));
        }
        EXPECT_GE(d[28].y, 16 + 546) << "the status line lies under the board";

        for (int i = 0; i < 196; i++)
            EXPECT_EQ(0, cell_differs_from_game(board, i / 14, i % 14, blank_board()[i])) << i;
        return LEAVE;
    }});
    EXPECT_EQ("levels/mine.vkl", editor("levels/mine.vkl"));
    EXPECT_EQ(std::vector<std::string>{"do_dialog"}, fake::dialogs);
}

// The board is shown at (16, 16): the cell under the pointer counts from there.
TEST(Editor, CellUnderThePointerAtTheBoardsEdges)
{
    int row = -1, col = -1;
    EXPECT_TRUE(editor_cell_at(55, 55, &row, &col));  // first pixel of row 1, column 1
    EXPECT_EQ(1, row);
    EXPECT_EQ(1, col);
    EXPECT_TRUE(editor_cell_at(93, 93, &row, &col));  // last pixel of that cell
    EXPECT_EQ(1, row);
    EXPECT_EQ(1, col);
    EXPECT_TRUE(editor_cell_at(94, 93, &row, &col));
    EXPECT_EQ(1, row);
    EXPECT_EQ(2, col);
    // Shown in row 3, column 5 (x 211 to 249, y 133 to 171), near its bottom-right corner.
    EXPECT_TRUE(editor_cell_at(249, 171, &row, &col));
    EXPECT_EQ(3, row);
    EXPECT_EQ(5, col);
    EXPECT_TRUE(editor_cell_at(522, 522, &row, &col));  // last pixel of row 12, column 12
    EXPECT_EQ(12, row);
    EXPECT_EQ(12, col);
    // The ring (x or y 16 to 54 and 523 to 561) and everything off the board.
    for (auto xy : std::vector<std::pair<int, int>>{
             {54, 200}, {200, 54}, {523, 200}, {200, 523}, {20, 20}, {39, 39}, {15, 100}, {561, 561}, {562, 300},
             {700, 100}, {-5, 100}})
        EXPECT_FALSE(editor_cell_at(xy.first, xy.second, &row, &col)) << xy.first << "," << xy.second;

    play({[](DIALOG *) { return FLAG_TOOL; },
          [](DIALOG *d) {
              std::string want = blank_board();
              click(d, 249, 171);
              want[3 * 14 + 5] = 'F';
              click(d, 39, 39);  // the ring
              EXPECT_EQ(want, text_of(d));
              EXPECT_EQ(0, cell_differs_from_game(board_of(d), 3, 5, 'F'));
              return NEW;
          }});
    fake::alert_answers = {2};  // "Ei": throw the flag away
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
                  want[4 * 14 + col] = '*';
              EXPECT_EQ(want, text_of(d));
              return NEW;
          }});
    fake::alert_answers = {2};
    editor("x.vkl");
}

// A drag as the input thread delivers it: the button is held over columns 2 to 6 of a row, one
// cell a read; the move to column 7 and the release come in together before the next read,
// and the pointer has already gone on to the palette when the button is seen up.
int drag_step = 0;
int dragged_button()
{
    drag_step++;
    if (drag_step < 5) {
        mouse_x = 16 + 39 * (2 + drag_step) + 19;
        return 1;
    }
    mouse_x = 16 + 39 * 7 + 19;
    if (mouse_callback)
        mouse_callback(MOUSE_FLAG_MOVE);
    if (mouse_callback)
        mouse_callback(MOUSE_FLAG_LEFT_UP);
    mouse_x = 700;
    return 0;
}

void drag_row_2_to_7(DIALOG *d, int row)
{
    int (*saved)() = gui_mouse_b;
    gui_mouse_b = dragged_button;
    drag_step = 0;
    mouse_x = 16 + 39 * 2 + 19;
    mouse_y = 16 + 39 * row + 19;
    d[0].proc(MSG_CLICK, &d[0], 1);
    gui_mouse_b = saved;
    mouse_x = 0;
    mouse_y = 0;
}

void ctrl_z(DIALOG *d)
{
    const int keys = 29;
    EXPECT_EQ(D_USED_CHAR, d[keys].proc(MSG_XCHAR, &d[keys], (KEY_Z << 8) | 26));
}

TEST(Editor, UndoTakesBackOneWholeStrokeWithTheCellWhereTheButtonWentUp)
{
    play({[](DIALOG *) { return 3; },  // wall
          [](DIALOG *d) {
              const std::string blank = blank_board();
              std::string row10 = blank, both = blank;
              for (int col = 2; col <= 7; col++) {
                  row10[14 * 10 + col] = '*';
                  both[14 * 10 + col] = '*';
                  both[14 * 11 + col] = '*';
              }
              Bitmap blank_picture = copy_of(board_of(d));
              drag_row_2_to_7(d, 10);
              EXPECT_EQ(row10, text_of(d)) << "all six cells, the one where the button went up too";
              EXPECT_EQ(nullptr, mouse_callback) << "the callback the stroke found is back";
              ctrl_z(d);
              EXPECT_EQ(blank, text_of(d));
              EXPECT_EQ(0, pixels_differing(board_of(d), blank_picture.get()));

              drag_row_2_to_7(d, 10);
              Bitmap row10_picture = copy_of(board_of(d));
              drag_row_2_to_7(d, 11);
              EXPECT_EQ(both, text_of(d));
              ctrl_z(d);
              EXPECT_EQ(row10, text_of(d)) << "only the newer stroke goes";
              EXPECT_EQ(0, pixels_differing(board_of(d), row10_picture.get()));
              ctrl_z(d);
              EXPECT_EQ(blank, text_of(d));
              ctrl_z(d);
              EXPECT_EQ(blank, text_of(d)) << "nothing more to take back";
              return NEW;
          }});
    editor("x.vkl");
    EXPECT_TRUE(fake::alerts.empty()) << "the board is as it started";
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
        for (int x = 60; x < 500; x += 39)
            click(d, x, x);
        EXPECT_EQ(blank_board(), text_of(d));
        EXPECT_EQ(0, pixels_differing(board_of(d), before.get()));
        d[0].proc(MSG_GOTMOUSE, &d[0], 0);
        EXPECT_EQ(arrow.get(), fake::mouse_sprites.back());
        return LEAVE;
    }});
    editor("x.vkl");
    EXPECT_TRUE(fake::alerts.empty()) << "nothing changed, nothing to ask";
    mouse_sprite = saved_sprite;
}

TEST(Editor, EachToolPaintsItsCodeAsTheGameDrawsIt)
{
    std::vector<Step> steps;
    for (int k = 0; k < 21; k++) {
        int row = 1 + k / 2, col = 3 + 5 * (k % 2);
        steps.push_back([k](DIALOG *) { return tool_object(k); });
        steps.push_back([k, row, col](DIALOG *d) {
            SCOPED_TRACE(std::string("tool ") + tools[k]);
            EXPECT_EQ(picture(palette_picture(k)), switch_pointer);
            std::string want = text_of(d);
            click(d, 16 + 39 * col + 20, 16 + 39 * row + 20);
            want[14 * row + col] = tools[k];
            EXPECT_EQ(want, text_of(d));
            EXPECT_EQ(0, cell_differs_from_game(board_of(d), row, col, tools[k]));
            return 0;  // the board object: nothing happens, the dialog runs again
        });
    }
    steps.push_back([](DIALOG *) { return NEW; });
    play(steps);
    fake::alert_answers = {2};
    EXPECT_EQ("x.vkl", editor("x.vkl"));
}

// The pointer over the board: the tool's picture where x + y is even, see-through (the mask
// colour) where it is odd.
void expect_see_through_of(BITMAP *picture, BITMAP *pointer)
{
    ASSERT_NE(nullptr, pointer);
    ASSERT_EQ(picture->w, pointer->w);
    ASSERT_EQ(picture->h, pointer->h);
    int tool = 0, through = 0;
    for (int y = 0; y < pointer->h; y++)
        for (int x = 0; x < pointer->w; x++) {
            if ((x + y) % 2 == 0)
                tool += getpixel(pointer, x, y) == getpixel(picture, x, y);
            else
                through += getpixel(pointer, x, y) == bitmap_mask_color(pointer);
        }
    EXPECT_EQ(761, tool) << "39 by 39 pixels: 761 of the picture";
    EXPECT_EQ(760, through) << "and 760 the board shows through";
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
              return 11;  // "E"
          },
          [&](DIALOG *d) {
              BITMAP *tube = picture(OBJ_TUBE_NSE);
              d[0].proc(MSG_GOTMOUSE, &d[0], 0);
              expect_see_through_of(tube, fake::mouse_sprites.back());
              d[0].proc(MSG_LOSTMOUSE, &d[0], 0);
              EXPECT_EQ(arrow.get(), fake::mouse_sprites.back());
              d[0].proc(MSG_GOTFOCUS, &d[0], 0);
              expect_see_through_of(tube, fake::mouse_sprites.back());
              return 3;  // the wall: the same pointer drawn again with the wall's picture
          },
          [&](DIALOG *d) {
              d[0].proc(MSG_GOTMOUSE, &d[0], 0);
              expect_see_through_of(picture(OBJ_WALL), fake::mouse_sprites.back());
              return LEAVE;  // left while the board still shows the tool
          }});
    editor("x.vkl");
    EXPECT_EQ(arrow.get(), fake::mouse_sprites.back()) << "the menu gets its own pointer back";
    for (BITMAP *b : fake::mouse_sprites)
        EXPECT_NE(nullptr, b) << "a null sprite would make the library free the arrow mysha holds";
    mouse_sprite = saved_sprite;
}

TEST(DrawMyfield, EveryCodeAsTheGameShowsItAndUnknownCodesMarked)
{
    Bitmap bmp(create_bitmap(546, 546));
    clear_to_color(bmp.get(), makecol(1, 2, 3));  // whatever an earlier board left
    std::string text = blank_board();
    for (int k = 0; k < 21; k++)
        text[14 * (1 + k / 4) + 1 + k % 4] = tools[k];
    text[14 * 9 + 9] = 'Z';
    draw_myfield(bmp.get(), &text[0]);
    for (int i = 0; i < 196; i++) {
        if (i == 14 * 9 + 9)
            continue;
        EXPECT_EQ(0, cell_differs_from_game(bmp.get(), i / 14, i % 14, text[i])) << i;
    }
    // The unknown code: black, with a red cross the player can see.
    EXPECT_EQ(makecol(0, 0, 0), getpixel(bmp.get(), 39 * 9 + 2, 39 * 9 + 2));
    EXPECT_EQ(makecol(220, 40, 40), getpixel(bmp.get(), 39 * 9 + 19, 39 * 9 + 19));

    // A text that ends early: the cells past its end are walls, as in the game.
    char short_text[] = "**************A.F";
    draw_myfield(bmp.get(), short_text);
    EXPECT_EQ(0, cell_differs_from_game(bmp.get(), 1, 2, 'F'));
    EXPECT_EQ(0, cell_differs_from_game(bmp.get(), 1, 3, '*'));
    EXPECT_EQ(0, cell_differs_from_game(bmp.get(), 7, 7, '*'));
}

TEST(Editor, NewBoardOffersANewNameNotTheCurrentLevel)
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
                  std::strcpy(path, (dir + "/uusi").c_str());  // typed without ".vkl"
                  return -1;
              };
              return SAVE;
          }});
    fake::alert_answers = {2, 2};  // "Uusi" asks about the flag: "Ei"; the solver's run: "Ei"
    EXPECT_EQ(dir + "/current.vkl", editor(dir + "/current.vkl"));
    ASSERT_EQ(2u, fake::alerts.size());
    EXPECT_EQ(0u, fake::alerts[1].s1.rfind(L1("Ratkaisija voitti kentän ajassa"), 0)) << fake::alerts[1].s1;
    EXPECT_FALSE(exists(dir + "/uusi.vkl.mouse.run")) << "kept after an Ei";
    EXPECT_EQ("Tallennetaanko muutokset?", fake::alerts[0].s1);
    EXPECT_EQ(L1("Kyllä"), fake::alerts[0].b1);
    EXPECT_EQ("Ei", fake::alerts[0].b2);
    EXPECT_EQ("Peruuta", fake::alerts[0].b3);
    EXPECT_EQ(level_file_of(blank_board()), read_file(dir + "/uusi.vkl"));
    EXPECT_FALSE(exists(dir + "/current.vkl"));
}

TEST(Editor, OverwritingAnotherFileAsksFirst)
{
    std::string dir = make_temp_dir();
    std::string other = dir + "/toinen.vkl";
    write_file(other, "vanha");
    fake::file_select_hook = [&](char *path, int) {
        std::strcpy(path, other.c_str());
        return -1;
    };
    play({[](DIALOG *) { return SAVE; }, [](DIALOG *) { return SAVE; }, [](DIALOG *) { return SAVE; }});
    // "Ei", then "Kyllä"; the third save is onto its own file. Each save of the winnable board
    // offers the solver's run: "Ei".
    fake::alert_answers = {2, 1, 2, 2};
    editor(dir + "/current.vkl");
    ASSERT_EQ(4u, fake::alerts.size());
    EXPECT_EQ("Tiedosto toinen.vkl", fake::alerts[0].s1);
    EXPECT_EQ("on jo olemassa. Korvataanko se?", fake::alerts[0].s2);
    EXPECT_EQ(level_file_of(blank_board()), read_file(other));
}

TEST(Editor, SavingThroughALinkAsksNamingTheRealFile)
{
    std::string dir = make_temp_dir(), outside = make_temp_dir();
    const std::string text = outside + "/muistio.txt";
    write_file(text, "pelaajan muistiinpanot\n");
    symlink(text.c_str(), (dir + "/linkki.vkl").c_str());
    symlink((outside + "/puuttuu.vkl").c_str(), (dir + "/tyhja.vkl").c_str());
    auto chosen = std::make_shared<std::string>(dir + "/linkki.vkl");
    fake::file_select_hook = [chosen](char *path, int) {
        std::strcpy(path, chosen->c_str());
        return -1;
    };
    play({[](DIALOG *) { return SAVE; },
          [=](DIALOG *) {
              EXPECT_EQ("pelaajan muistiinpanot\n", read_file(text)) << "not written after an Ei";
              return SAVE;
          },
          [=](DIALOG *) {
              *chosen = dir + "/tyhja.vkl";
              return SAVE;
          }});
    // "Ei", then "Kyllä", the solver's run not kept; the last is an "Ok".
    fake::alert_answers = {2, 1, 2, 1};
    editor(dir + "/current.vkl");
    ASSERT_EQ(4u, fake::alerts.size());
    EXPECT_EQ("Tiedosto linkki.vkl on linkki tiedostoon", fake::alerts[0].s1);
    EXPECT_EQ(text, fake::alerts[0].s2);
    EXPECT_EQ(L1("Korvataanko se kentällä?"), fake::alerts[0].s3);
    EXPECT_EQ("Ei", fake::alerts[0].b2);
    EXPECT_EQ(level_file_of(blank_board()), read_file(text)) << "written after the second question";
    EXPECT_EQ("Tiedosto tyhja.vkl on linkki, joka ei osoita", fake::alerts[3].s1);
    EXPECT_EQ(L1("Kenttää ei voi tallentaa siihen."), fake::alerts[3].s3);
    EXPECT_FALSE(exists(outside + "/puuttuu.vkl"));
    EXPECT_EQ(1u, std::distance(std::filesystem::directory_iterator(outside), std::filesystem::directory_iterator()));
    std::filesystem::remove_all(dir);
    std::filesystem::remove_all(outside);
}

TEST(Editor, BoardCheckBeforeSavingSaysWhatIsWrong)
{
    std::string dir = make_temp_dir();
    fake::file_select_hook = [&](char *path, int) {
        std::strcpy(path, (dir + "/k.vkl").c_str());
        return -1;
    };
    play({[](DIALOG *) { return 1; },  // start tool
          [](DIALOG *d) {
              click(d, 300, 300);
              return SAVE;
          }});
    fake::alert_answers = {2, 2};  // not saved anyway; then leave without saving
    editor("x.vkl");
    ASSERT_EQ(2u, fake::alerts.size());
    EXPECT_EQ(L1("Kentässä on 2 lähtöruutua,"), fake::alerts[0].s1);
    EXPECT_EQ("vain yksi on sallittu.", fake::alerts[0].s2);
    EXPECT_EQ("Tallennetaanko silti?", fake::alerts[0].s3);
    EXPECT_TRUE(fake::file_selects.empty());
    EXPECT_FALSE(exists(dir + "/k.vkl"));
    EXPECT_EQ("Tallennetaanko muutokset?", fake::alerts[1].s1);
}

TEST(Editor, FailedSaveShowsTheAlert)
{
    std::string dir = make_temp_dir();
    std::string bad = dir + "/no/such/folder/k.vkl";
    fake::file_select_hook = [&](char *path, int) {
        std::strcpy(path, bad.c_str());
        return -1;
    };
    play({[](DIALOG *) { return SAVE; }});
    editor(dir + "/current.vkl");
    ASSERT_EQ(1u, fake::alerts.size());
    EXPECT_EQ(L1("Virhe kentän tallennuksessa"), fake::alerts[0].s1);
    EXPECT_EQ("k.vkl", fake::alerts[0].s2);
    EXPECT_EQ("Ok", fake::alerts[0].b1);
}

TEST(Editor, OpenTakesTheLevelItsPicturesAndItsName)
{
    std::string dir = make_temp_dir();
    std::string lab = dir + "/lab.vkl";
    std::string rows = ring + "*A..........F*" + "*.OO.ns.X+-..*";
    for (int i = 0; i < 10; i++)
        rows += inner_floor;
    rows += ring;
    write_file(lab, level_file_of(rows));
    play({[&](DIALOG *) {
              fake::file_select_hook = [&](char *path, int size) {
                  EXPECT_EQ(path_buffer_size - 1, size);
                  std::strcpy(path, lab.c_str());
                  return -1;
              };
              return OPEN;
          },
          [&](DIALOG *d) {
              EXPECT_EQ(rows, text_of(d));
              for (int i = 0; i < 196; i++)
                  EXPECT_EQ(0, cell_differs_from_game(board_of(d), i / 14, i % 14, rows[i])) << i;
              return SAVE;  // its own file: no question but the solver's
          }});
    fake::alert_answers = {2};
    editor(dir + "/current.vkl");
    ASSERT_EQ(2u, fake::file_selects.size());
    EXPECT_EQ("Valitse labyrintti", fake::file_selects[0].message);
    EXPECT_EQ(lab, fake::file_selects[1].path) << "the opened level's name is offered for saving";
    ASSERT_EQ(1u, fake::alerts.size());
    EXPECT_EQ("Tallennetaanko ratkaisu mitalien pohjaksi?", fake::alerts[0].s3);
    EXPECT_EQ(level_file_of(rows), read_file(lab));
}

TEST(Editor, UnreadableLevelKeepsTheBoardAndTheName)
{
    std::string dir = make_temp_dir();
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
              fake::file_select_hook = [](char *, int) { return 0; };
              return SAVE;
          }});
    fake::alert_answers = {2, 1, 2};  // open without saving; Ok; leave without saving
    editor(dir + "/current.vkl");
    ASSERT_EQ(3u, fake::alerts.size());
    EXPECT_EQ(L1("Kentän avaaminen epäonnistui"), fake::alerts[1].s1);
    EXPECT_EQ("puuttuu.vkl", fake::alerts[1].s2);
    ASSERT_EQ(2u, fake::file_selects.size());
    EXPECT_EQ("nimeton.vkl", fake::file_selects[1].path) << "still the new board's name";
    EXPECT_FALSE(exists(missing));
}

TEST(Editor, EscLeavesButAsksAboutUnsavedChanges)
{
    play({[](DIALOG *) { return 4; },  // hole tool
          [](DIALOG *d) {
              click(d, 300, 300);
              return -1;  // Esc: "Peruuta" keeps the editor open
          },
          [](DIALOG *) { return HELP; },
          [](DIALOG *) { return 0; },
          [](DIALOG *) { return -1; }});
    fake::alert_answers = {3, 2};
    EXPECT_EQ("current.vkl", editor("current.vkl"));
    const std::vector<std::string> runs = {"do_dialog", "do_dialog", "do_dialog", "popup_dialog", "do_dialog", "do_dialog"};
    EXPECT_EQ(runs, fake::dialogs);
    ASSERT_EQ(2u, fake::alerts.size());
    EXPECT_EQ(L1("Uusi kenttä"), fake::alerts[0].s2);
}

TEST(Editor, TheSolversRunOfASavedBoardIsKeptAsItsMedalBasisWhenTheMakerSaysSo)
{
    std::string dir = make_temp_dir();
    const std::string level = dir + "/oma.vkl";
    fake::file_select_hook = [&](char *path, int) {
        std::strcpy(path, level.c_str());
        return -1;
    };
    play({[](DIALOG *) { return SAVE; }});
    fake::alert_answers = {1};  // "Kyllä"
    editor(dir + "/current.vkl");
    ASSERT_EQ(1u, fake::alerts.size());
    // The blank board: the flag beside the start. The solver's run and the hand's win the
    // saved level in the times the question named, and the hand's gives it medal times.
    run_record run, hand;
    std::string why;
    ASSERT_TRUE(load_run(level + ".mouse.run", run, why)) << why;
    ASSERT_TRUE(load_run(level + ".hand.run", hand, why)) << why;
    const replay_result r = replay_run(field::load_field_file(level), run);
    const replay_result h = replay_run(field::load_field_file(level), hand);
    ASSERT_TRUE(r.won) << r.why;
    ASSERT_TRUE(h.won) << h.why;
    EXPECT_GE(h.frames, r.frames);
    EXPECT_EQ(L1("Ratkaisija voitti kentän ajassa ") + time_text(static_cast<int>(r.frames)) + L1(", käsi ajassa ") +
                  time_text(static_cast<int>(h.frames)) + ".",
              fake::alerts[0].s1);
    const medal_times m = medals_from_basis(static_cast<int>(h.frames));
    EXPECT_EQ("Mitalit: kulta " + time_text(m.limit[0]) + ", hopea " + time_text(m.limit[1]) + ", pronssi " +
                  time_text(m.limit[2]),
              fake::alerts[0].s2);
    EXPECT_EQ(m.limit[0], level_medals(level).limit[0]);
    std::filesystem::remove_all(dir);
}
