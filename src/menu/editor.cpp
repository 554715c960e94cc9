#include "menu/editor.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "field/field.h"
#include "field/file_select.h"
#include "field/level_check.h"
#include "field/level_file.h"
#include "field/tile_kind.h"
#include "input/click_watch.h"
#include "marble/bead.h"
#include "menu/editor_help.h"
#include "menu/editor_recovery.h"
#include "menu/solve_box.h"
#include "menu/win_dialog.h"
#include "platform/error.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "platform/session_end.h"
#include "platform/replace_file.h"
#include "platform/text_encoding.h"
#include "records/campaign.h"
#include "records/run_time.h"

namespace fs = std::filesystem;

const char editor_tools[] = "A.*OCVFI-WENS+B#neswX";
static_assert(sizeof editor_tools == tile_kind_count + 1, "a tool for every tile kind");
BITMAP *switch_pointer = nullptr;
BITMAP *mysha = nullptr;

namespace {

const int board_at = 16;  // the board's corner on the screen, both axes
const size_t undo_depth = 100;

const int tool_count = tile_kind_count;
const char *const tool_codes = editor_tools;

enum EditorObject {
    BOARD = 0,
    FIRST_TOOL = 1,
    LAST_OLD_TOOL = 16,
    OPEN = 17,
    SAVE = 18,
    LEAVE = 19,
    NEW = 20,
    HELP = 21,
    FIRST_NEW_TOOL = 22,
    LAST_TOOL = 26,
    TRY = 27,
    STATUS = 28,
    KEYS = 29,
    OBJECT_COUNT = 30
};

// Dialog object of palette position k (0..20): the first sixteen keep their old places.
int object_of_tool(int k)
{
    return k < 16 ? FIRST_TOOL + k : FIRST_NEW_TOOL + k - 16;
}

int tool_of_object(int r)
{
    if (r >= FIRST_TOOL && r <= LAST_OLD_TOOL)
        return r - FIRST_TOOL;
    if (r >= FIRST_NEW_TOOL && r <= LAST_TOOL)
        return 16 + r - FIRST_NEW_TOOL;
    return -1;
}

BITMAP *data_bitmap(int object)
{
    return object == no_picture ? nullptr : static_cast<BITMAP *>(data1[object].dat);
}

int focus_x = 0, focus_y = 0;  // the hot spot of the pointer the editor started with

// The tool's picture on every other pixel, the board showing through the rest: whole, a hand
// resting on a cell after Ctrl+Z looked like a cell still painted. One bitmap, drawn again for
// each tool while the pointer is hidden.
BITMAP *see_through(BITMAP *tool_picture)
{
    static BITMAP *pointer = nullptr;
    if (pointer && (pointer->w != tool_picture->w || pointer->h != tool_picture->h)) {
        set_mouse_sprite(mysha);
        destroy_bitmap(pointer);
        pointer = nullptr;
    }
    if (!pointer)
        pointer = create_bitmap(tool_picture->w, tool_picture->h);
    if (!pointer)
        return tool_picture;
    const int mask = bitmap_mask_color(pointer);
    for (int y = 0; y < pointer->h; y++)
        for (int x = 0; x < pointer->w; x++)
            putpixel(pointer, x, y, (x + y) % 2 ? mask : getpixel(tool_picture, x, y));
    return pointer;
}

void pointer_for_board(BITMAP *tool_picture)
{
    // The pointer is hidden meanwhile: moving the hot spot of a shown pointer leaves its old
    // picture on the screen.
    scare_mouse();
    // Never set_mouse_sprite(NULL): the library would destroy the arrow that mysha holds.
    if (tool_picture) {
        BITMAP *pointer = see_through(tool_picture);
        set_mouse_sprite(pointer);
        // The tool's picture hangs centred on the hot spot, over the cell it paints.
        set_mouse_sprite_focus(pointer->w / 2, pointer->h / 2);
    } else {
        set_mouse_sprite(mysha);
        set_mouse_sprite_focus(focus_x, focus_y);
    }
    unscare_mouse();
}

// A cell as a run shows it on its black screen: the picture under the marble and the one over
// it. The start square is floor under the marble in a run; the editor shows its marker instead.
void draw_cell(BITMAP *bmp, int i, char code)
{
    const int cell = grid::cell;
    int x = cell * (i % grid::cells), y = cell * (i / grid::cells);
    rectfill(bmp, x, y, x + cell - 1, y + cell - 1, makecol(0, 0, 0));
    if (const tile_kind *kind = tile_kind_of(code)) {
        if (BITMAP *lower = data_bitmap(code == 'A' ? kind->palette : kind->picture))
            draw_sprite(bmp, lower, x, y);
        if (BITMAP *upper = data_bitmap(kind->overlay))
            draw_sprite(bmp, upper, x, y);
        return;
    }
    // A code the game has no tile for (from a hand-made file): marked, and named by the check.
    int red = makecol(220, 40, 40);
    line(bmp, x + 8, y + 8, x + cell - 9, y + cell - 9, red);
    line(bmp, x + cell - 9, y + 8, x + 8, y + cell - 9, red);
}

// Shows part of a changed board picture at once, without waiting for the dialog's redraw.
void show_board(DIALOG *board, int x, int y, int w, int h)
{
    scare_mouse_area(board->x + x, board->y + y, w, h);
    blit(static_cast<BITMAP *>(board->dp), screen, x, y, board->x + x, board->y + y, w, h);
    unscare_mouse();
}

std::string shown_name(const std::string &path)
{
    return shown_file_name(path);
}

// A whole path for a line of an alert: in the game's Latin-1, its end kept when it is long.
std::string shown_path(const std::string &path)
{
    std::string shown = latin1_name(path);
    if (shown.size() > 60)
        shown = "..." + shown.substr(shown.size() - 57);
    return shown;
}

void ok_alert(const std::string &s1, const std::string &s2, const std::string &s3)
{
    alert(s1.c_str(), s2.c_str(), s3.c_str(), "Ok", nullptr, 0, 0);
}

bool yes_alert(const std::string &s1, const std::string &s2, const std::string &s3)
{
    return alert(s1.c_str(), s2.c_str(), s3.c_str(), L1("Kyllä"), "Ei", 0, 0) == 1;
}

// "nimeton.vkl", or the first of "nimeton2.vkl", "nimeton3.vkl", ... that no file has taken.
std::string free_new_name()
{
    std::error_code e;
    for (int n = 1; n < 1000; n++) {
        std::string name = n == 1 ? "nimeton.vkl" : "nimeton" + std::to_string(n) + ".vkl";
        if (!fs::exists(name, e))
            return name;
    }
    return "nimeton.vkl";
}

// The choosers list only ".vkl" files: a name typed without it gets it.
std::string with_extension(const std::string &path)
{
    const std::string ext = ".vkl";
    if (path.size() >= ext.size() && ustricmp(path.c_str() + path.size() - ext.size(), ext.c_str()) == 0)
        return path;
    return path + ext;
}

bool same_file(const std::string &a, const std::string &b)
{
    std::error_code e;
    return !a.empty() && !b.empty() && fs::equivalent(a, b, e) && !e;
}

// The solver tries the board; the status line says what it found. For a saved level the hand
// model then plays it too, and the two runs are offered as the level's proof and medal basis,
// kept beside the level file.
void ask_the_solver(editor_board &b, const std::string &saved_as = "")
{
    const std::string board(b.text, grid::level_chars);
    const board_verdict v = solve_for_maker(board);
    b.verdict = verdict_text(v);
    b.verdict_board = board;
    if (v.what == board_verdict::not_solved && !saved_as.empty())
        ok_alert(L1("Ratkaisija ei ratkaissut kenttää aikarajassa."), L1("Se ei tarkoita, että kenttä olisi mahdoton."), "");
    if (v.what != board_verdict::won || saved_as.empty() || solver_basis(saved_as) == v.time)
        return;  // nothing new to offer: the run kept beside the level is as fast
    const board_verdict hand = solve_for_maker(board, true);
    const bool by_hand = hand.what == board_verdict::won;
    const medal_times m = medals_from_basis(by_hand ? hand.time : estimated_hand_time(v.time));
    if (!yes_alert(L1("Ratkaisija voitti kentän ajassa ") + time_text(v.time) +
                       (by_hand ? L1(", käsi ajassa ") + time_text(hand.time) : std::string(L1(", käsi ei voittanut"))) + ".",
                   "Mitalit: kulta " + time_text(m.limit[0]) + ", hopea " + time_text(m.limit[1]) + ", pronssi " +
                       time_text(m.limit[2]),
                   "Tallennetaanko ratkaisu mitalien pohjaksi?"))
        return;
    if (replace_own_file(saved_as + ".mouse.run", write_run(v.run)) != own_write::written)
        ok_alert("Ratkaisua ei voitu tallentaa:", shown_name(saved_as + ".mouse.run"), "");
    else if (by_hand && replace_own_file(saved_as + ".hand.run", write_run(hand.run)) != own_write::written)
        ok_alert("Ratkaisua ei voitu tallentaa:", shown_name(saved_as + ".hand.run"), "");
}

bool save_board(editor_board &b)
{
    level_check check = check_level(b.text);
    if (check.problem != level_problem::none &&
        !yes_alert(level_problem_line1(check), level_problem_line2(check), "Tallennetaanko silti?"))
        return false;

    char path[path_buffer_size];
    set_save_file_name(b.file_name.empty() ? free_new_name() : b.file_name, path);
    if (path[0] == 0) {
        Error::Out1(L1("Väärä palautus"));
        return false;
    }
    if (get_filename(path)[0] == 0) {
        ok_alert(L1("Anna kentälle tiedoston nimi."), "", "");
        return false;
    }
    std::string chosen = with_extension(path);
    std::error_code e;
    if (fs::is_directory(chosen, e)) {
        ok_alert(shown_name(chosen), L1("on kansio, ei kenttä."), "");
        return false;
    }
    // Through a link the level would replace whatever file it points at (a text, another
    // level): only when the player says so, named by its real path. A link to nothing is never
    // followed to make a file where it points.
    std::string target = chosen;
    if (fs::is_symlink(fs::symlink_status(chosen, e))) {
        char *real = realpath(chosen.c_str(), nullptr);
        if (!real) {
            ok_alert("Tiedosto " + shown_name(chosen) + " on linkki, joka ei osoita",
                     L1("mihinkään tiedostoon."), L1("Kenttää ei voi tallentaa siihen."));
            return false;
        }
        target = real;
        std::free(real);
        if (!yes_alert("Tiedosto " + shown_name(chosen) + " on linkki tiedostoon", shown_path(target),
                       L1("Korvataanko se kentällä?")))
            return false;
    } else if (fs::exists(chosen, e) && !same_file(chosen, b.file_name) &&
               !yes_alert("Tiedosto " + shown_name(chosen), "on jo olemassa. Korvataanko se?", "")) {
        // Only the file this editor run opened or saved is written over without a question.
        return false;
    }

    Error::Out1("Yritys");
    if (save_file(target, b.text) != 0) {
        alert(L1("Virhe kentän tallennuksessa"), shown_name(chosen).c_str(), "", "Ok", nullptr, -1, -1);
        return false;
    }
    b.file_name = chosen;
    b.saved_text.assign(b.text, grid::level_chars);
    b.just_saved = true;
    if (check.problem == level_problem::none)
        ask_the_solver(b, target);
    return true;
}

// True when the board may be thrown away: nothing unsaved, the player saved it, or said no.
// A board the game had to leave unsaved last time is offered back, as changes not yet saved to
// the level it was edited from (a Ctrl+Z goes back to that level as it is on disk); "Myöhemmin"
// (and Esc) keeps it for the next start.
void offer_kept_board(editor_board &b)
{
    const std::string kept = waiting_recovery();
    std::string board, level;
    if (kept.empty() || !read_kept_board(kept, board, level))
        return;
    const std::string what = level.empty() ? L1("Uusi kenttä") : L1("Kenttä ") + shown_name(level);
    switch (alert3(L1("Editoriin jäi viime kerralla tallentamaton kenttä:"), what.c_str(),
                   "Palautetaanko se?", "&Palauta", L1("&Hylkää"), L1("&Myöhemmin"), 'p', 'h', 'm')) {
    case 1: {
        char on_disk[editor_board::text_size] = {};
        if (level.empty() || load_thedata(level, on_disk) != 0)
            std::strncpy(on_disk, blank_level, sizeof on_disk - 1);
        b.take(on_disk, level);
        b.strokes.push_back(std::string(b.text, grid::level_chars));
        std::memcpy(b.text, board.data(), grid::level_chars);
        draw_myfield(b.picture, b.text);
        break;
    }
    case 2:
        break;
    default:
        return;
    }
    std::remove(kept.c_str());
}

bool may_discard(editor_board &b)
{
    if (!b.changed())
        return true;
    std::string what = b.file_name.empty() ? L1("Uusi kenttä") : L1("Kenttä ") + shown_name(b.file_name);
    switch (alert3("Tallennetaanko muutokset?", what.c_str(), "", L1("Kyllä"), "Ei", "Peruuta", 0, 0, 0)) {
    case 1: return save_board(b);
    case 2: return true;
    default: return false;  // "Peruuta", or Esc
    }
}

void open_level(editor_board &b)
{
    std::string chosen = load_field_file("");
    if (chosen.empty())
        return;
    // A board that could not be read must not take the file's name: a later save would
    // overwrite that file with the board still on screen.
    char text[editor_board::text_size];
    if (load_thedata(chosen, text) != 0) {
        alert(L1("Kentän avaaminen epäonnistui"), shown_name(chosen).c_str(), "", "Ok", nullptr, -1, -1);
        return;
    }
    b.take(text, chosen);
}

// Plays the board as it stands; the run builds its own field, so the board comes back as it was.
void try_board(editor_board &b)
{
    level_check check = check_level(b.text);
    switch (check.problem) {
    case level_problem::none:
        break;
    case level_problem::start_shut_in:
    case level_problem::flag_shut_in:
        if (!yes_alert(level_problem_line1(check), level_problem_line2(check), "Kokeillaanko silti?"))
            return;
        break;
    default:
        ok_alert(level_problem_line1(check), level_problem_line2(check), L1("Kenttää ei voi kokeilla."));
        return;
    }
    if (check.problem == level_problem::none)
        ask_the_solver(b);
    pointer_for_board(nullptr);
    bead marble;
    table_level tried;
    tried.title = "Kokeilu";
    tried.text = b.text;
    tried.watch = [&marble, &tried](const std::vector<run_tilt> &tilts, const std::string &verdict) {
        const std::string text = tried.text;
        marble.watch_level(tried.title, [text] { return field::from_text(text); }, tilts, verdict);
    };
    for (;;) {
        marble.try_level(b.text);
        if (!marble.won || close_requested)
            break;
        const std::vector<run_tilt> played = marble.played;
        if (win_dialog(marble.level_id, marble.run_time, true, played, tried) != win_again)
            break;
    }
    scare_mouse();
    clear_to_color(screen, makecol(0, 0, 0));
    unscare_mouse();
}

void set_button(DIALOG &d, int y, const char *text)
{
    d = DIALOG{d_button_proc, 592, y, 88, 24, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, const_cast<char *>(text), nullptr, nullptr};
}

// A palette tool: the library's icon, with a frame round it while it is the chosen tool.
int d_tool_proc(int msg, DIALOG *d, int c)
{
    int result = d_icon_proc(msg, d, c);
    if (msg == MSG_DRAW) {
        const editor_board *b = static_cast<const editor_board *>(d->dp3);
        bool chosen = b && b->tool != 0 && b->tool == static_cast<char>(d->d2);
        int colour = chosen ? makecol(255, 214, 64) : makecol(0, 0, 0);
        for (int k = 2; k <= 4; k++)
            rect(screen, d->x - k, d->y - k, d->x + d->w - 1 + k, d->y + d->h - 1 + k, colour);
    }
    return result;
}

std::string status_text(const editor_board &b, int *colour)
{
    if (b.file_name.empty()) {
        *colour = makecol(255, 214, 64);
        return L1("Uusi kenttä, ei tallennettu");
    }
    if (b.changed()) {
        *colour = makecol(255, 214, 64);
        return L1("Kenttä: ") + shown_name(b.file_name) + ", muutoksia ei ole tallennettu";
    }
    if (b.just_saved) {
        *colour = makecol(120, 230, 120);
        return "Tallennettu: " + shown_name(b.file_name);
    }
    *colour = makecol(230, 230, 230);
    return L1("Kenttä: ") + shown_name(b.file_name);
}

// The status line, and what the solver said while the board is the one it tried.
std::string status_line(const editor_board &b, int *colour)
{
    std::string text = status_text(b, colour);
    if (!b.verdict.empty() && b.verdict_board == std::string(b.text, grid::level_chars))
        text += "   Ratkaisija: " + b.verdict;
    return text;
}

// The line under the board: which file is edited and whether it is saved. It redraws itself
// as soon as its text changes, e.g. during a paint stroke or after an undo.
int d_status_proc(int msg, DIALOG *d, int)
{
    editor_board *b = static_cast<editor_board *>(d->dp3);
    if (msg != MSG_DRAW && msg != MSG_IDLE)
        return D_O_K;
    int colour;
    std::string text = status_line(*b, &colour);
    std::string *shown = static_cast<std::string *>(d->dp2);
    if (msg == MSG_IDLE && *shown == text)
        return D_O_K;
    *shown = text;
    scare_mouse_area(d->x, d->y, d->w, d->h);
    rectfill(screen, d->x, d->y, d->x + d->w - 1, d->y + d->h - 1, makecol(0, 0, 0));
    textout_ex(screen, font, text.c_str(), d->x, d->y + (d->h - text_height(font)) / 2, colour, -1);
    unscare_mouse();
    return D_O_K;
}

// Ctrl+Z takes back the last paint stroke.
int d_keys_proc(int msg, DIALOG *d, int c)
{
    if (msg != MSG_XCHAR)
        return D_O_K;
    bool ctrl_z = (c & 0xff) == 26 || ((c >> 8) == KEY_Z && (key_shifts & KB_CTRL_FLAG));
    editor_board *b = static_cast<editor_board *>(d->dp3);
    if (!ctrl_z || b->strokes.empty())
        return ctrl_z ? D_USED_CHAR : D_O_K;
    b->undo();
    show_board(b->board_object, 0, 0, grid::pixels, grid::pixels);
    return D_USED_CHAR;
}

}  // namespace

bool editor_board::changed() const
{
    return saved_text.compare(0, std::string::npos, text, grid::level_chars) != 0;
}

void editor_board::take(const char *level, const std::string &name)
{
    std::memset(text, 0, sizeof text);
    std::strncpy(text, level, sizeof text - 1);
    file_name = name;
    saved_text.assign(text, grid::level_chars);
    strokes.clear();
    just_saved = false;
    if (picture)
        draw_myfield(picture, text);
}

void editor_board::undo()
{
    if (strokes.empty())
        return;
    std::memcpy(text, strokes.back().data(), grid::level_chars);
    strokes.pop_back();
    just_saved = false;
    if (picture)
        draw_myfield(picture, text);
}

bool editor_cell_at(int x, int y, int *row, int *column)
{
    int r = grid::cell_of((float)(y - board_at)), c = grid::cell_of((float)(x - board_at));
    if (r < 1 || r > grid::cells - 2 || c < 1 || c > grid::cells - 2)
        return false;
    *row = r;
    *column = c;
    return true;
}

// Every cell as the game shows it; the board is the text's first 196 characters, and cells a
// short text does not reach are walls, as in the game.
void draw_myfield(BITMAP *bmp, char *board)
{
    bool ended = false;
    for (int i = 0; i < grid::level_chars; i++) {
        ended = ended || board[i] == 0;
        draw_cell(bmp, i, ended ? '*' : board[i]);
    }
}

int d_my_bitmap_proc(int msg, DIALOG *d, int c)
{
    switch (msg) {
    case MSG_GOTMOUSE:
    case MSG_GOTFOCUS:
        pointer_for_board(switch_pointer);
        break;
    case MSG_LOSTMOUSE:
    case MSG_LOSTFOCUS:
        pointer_for_board(nullptr);
        break;
    case MSG_CLICK: {
        // One stroke: paint the cell under the pointer until the button is let go.
        editor_board *b = static_cast<editor_board *>(d->dp3);
        std::string before(b->text, grid::level_chars);
        auto paint = [b, d](int x, int y) {
            int row, column;
            if (b->tool && editor_cell_at(x, y, &row, &column)) {
                int i = grid::cells * row + column;
                if (b->text[i] != b->tool) {
                    b->text[i] = b->tool;
                    b->just_saved = false;
                    draw_cell(b->picture, i, b->tool);
                    show_board(d, grid::cell * column, grid::cell * row, grid::cell, grid::cell);
                    broadcast_dialog_message(MSG_IDLE, 0);
                }
            }
        };
        // The pointer is read once a round, and a fast hand crosses cells between two reads:
        // the stroke paints every cell on the line from the last place read to the next.
        int last_x = gui_mouse_x(), last_y = gui_mouse_y();
        auto paint_to = [&](int x, int y) {
            int steps = std::max(std::abs(x - last_x), std::abs(y - last_y)) / (grid::cell / 3) + 1;
            for (int s = 1; s <= steps; s++)
                paint(last_x + (x - last_x) * s / steps, last_y + (y - last_y) * s / steps);
            last_x = x;
            last_y = y;
        };
        paint(last_x, last_y);
        int down_x, down_y, up_x, up_y;
        bool released;
        {
            click_watch stroke;
            do
                paint_to(gui_mouse_x(), gui_mouse_y());
            while (gui_mouse_b() && !close_requested);
            // The button is read after a wait for input: a move and the release right after it
            // can both come in during that wait, and the cell where it went up was never painted.
            released = stroke.take(down_x, down_y, up_x, up_y);
        }
        if (released)
            paint_to(up_x, up_y);
        else
            paint_to(gui_mouse_x(), gui_mouse_y());
        if (before.compare(0, std::string::npos, b->text, grid::level_chars) != 0) {
            b->strokes.push_back(before);
            if (b->strokes.size() > undo_depth)
                b->strokes.erase(b->strokes.begin());
        }
        return D_O_K;
    }
    default:
        break;
    }
    return d_bitmap_proc(msg, d, c);
}

std::string editor(std::string current)
{
    BITMAP *picture = create_bitmap(grid::pixels, grid::pixels);
    if (!picture) {
        alert(L1("Editorin avaaminen epäonnistui"), "", "", "Ok", nullptr, -1, -1);
        return current;
    }
    editor_board b;
    b.picture = picture;
    std::string status_shown;

    DIALOG dialog[OBJECT_COUNT + 1];
    std::memset(dialog, 0, sizeof dialog);
    dialog[BOARD] = DIALOG{d_my_bitmap_proc, board_at, board_at, grid::pixels, grid::pixels, 0, 0, 0, D_EXIT, 0, 0,
                           picture, b.text, &b};
    for (int k = 0; k < tool_count; k++) {
        int x = 592 + 48 * (k % 4), y = 56 + 48 * (k / 4);
        BITMAP *tool_picture = data_bitmap(tile_kind_of(tool_codes[k])->palette);
        dialog[object_of_tool(k)] =
            DIALOG{d_tool_proc, x, y, grid::cell, grid::cell, 0, 0, 0, D_EXIT, 0, tool_codes[k], tool_picture, nullptr, &b};
    }
    // Under the six palette rows, top to bottom: Uusi, Avaa, Tallenna, Kokeile, Apua, Lopeta.
    set_button(dialog[NEW], 352, "Uusi");
    set_button(dialog[OPEN], 384, "Avaa");
    set_button(dialog[SAVE], 416, "Tallenna");
    set_button(dialog[TRY], 448, "Kokeile");
    set_button(dialog[HELP], 480, "Apua");
    set_button(dialog[LEAVE], 512, "Lopeta");
    dialog[STATUS] = DIALOG{d_status_proc, board_at, 572, 768, 22, 0, 0, 0, 0, 0, 0, nullptr, &status_shown, &b};
    dialog[KEYS] = DIALOG{d_keys_proc, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, &b};
    b.board_object = &dialog[BOARD];

    mysha = mouse_sprite;
    focus_x = mouse_x_focus;
    focus_y = mouse_y_focus;
    // The pointer over the board matches the tool: none chosen yet in this run.
    switch_pointer = nullptr;
    b.take(blank_level, "");
    scare_mouse();
    clear_to_color(screen, 0);
    unscare_mouse();

    offer_kept_board(b);
    // A logout or a kill asks nothing: as the signal comes, or should the X server go away, an
    // unsaved board goes into a recovery file, once.
    end_saver keep_board([&b] {
        if (b.changed() && !keep_unsaved_board(b.text, b.file_name))
            std::fputs("vinkla: the editor's board could not be kept\n", stderr);
    });

    bool leave = false;
    while (!leave) {
        int r = do_dialog(dialog, -1);
        int k = tool_of_object(r);
        if (k >= 0) {
            switch_pointer = static_cast<BITMAP *>(dialog[r].dp);
            b.tool = tool_codes[k];
            Error::Out1("Clicked on tool");
        } else if (r == OPEN) {
            if (may_discard(b))
                open_level(b);
        } else if (r == SAVE) {
            save_board(b);
        } else if (r == NEW) {
            if (may_discard(b))
                b.take(blank_level, "");
        } else if (r == HELP) {
            editor_help();
        } else if (r == TRY) {
            try_board(b);
        } else if (r == LEAVE || r == -1) {
            // Esc leaves like "Lopeta", and like it asks first.
            leave = may_discard(b);
        }
        if (end_signal) {
            save_before_end();  // done already at the wait that saw the signal
            leave = true;
        }
        // The window's close button ends the dialog, or a try, with an Esc: the board is asked
        // about as for "Lopeta", and a cancel keeps the game open.
        if (close_requested && !leave) {
            if (r != LEAVE && r != -1)
                leave = may_discard(b);
            if (!leave)
                close_requested = false;
        }
    }

    // The pointer may still be a tool's picture if the board had the focus at the end.
    pointer_for_board(nullptr);
    destroy_bitmap(picture);
    return current;
}
