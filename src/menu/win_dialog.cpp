#include "menu/win_dialog.h"

#include <allegro.h>

#include <cstring>
#include <vector>

#include "menu/menu.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/session_end.h"
#include "field/field.h"
#include "field/file_select.h"
#include "platform/replace_file.h"
#include "platform/text_encoding.h"
#include "records/kept_runs.h"
#include "records/player_records.h"
#include "records/record_proof.h"
#include "records/run_replay.h"
#include "records/shared_run.h"
#include "records/run_time.h"

namespace {

// The panel's inner rectangle, over the middle of the board; its frame lies six pixels outside.
const int px1 = 58, py1 = 88, px2 = 487, py2 = 495;
const int table_y = py1 + 126;  // the first row of the table
const int row_step = 24;
const int rank_x2 = px1 + 50;   // columns: rank ends, name starts, time ends, date ends
const int name_x = px1 + 70;
const int time_x2 = px1 + 318;
const int date_x2 = px2 - 18;
const int button_y = 415;
const int run_button_y = button_y + 37;  // "Katso" and "Tallenna suoritus"
const int mark_x = rank_x2 + 4;        // a row's proof mark, between its place and its name
const int legend_y = table_y + record_table::kept * row_step + 54;

enum { panel_obj, name_obj, next_obj, again_obj, menu_obj, refusal_obj, watch_obj, share_obj };

// What the panel shows; the dialog's procedure reads it when it draws.
struct win_view {
    int time = 0;
    int rank = -1;          // the run's row in the table, or -1
    bool asking = false;    // the run's name is still being typed
    bool saved = false;     // the records file holds the run
    bool trial = false;     // a try from the editor: shown in its place, never stored
    bool table_only = false;  // a level's table from the menu: no run just won
    bool new_best = false;  // faster than every proven record
    std::string heading;    // the line under the title
    std::vector<proof> marks;  // one a row
    int selected = -1;      // the row "Katso" plays, or -1 for the run just won
    std::string shared;     // a run was written to this file
    // The line under the table: a character typed cannot be kept in a name, or Enter was
    // pressed with no name.
    enum note_kind { no_note, refused, empty } note = no_note;
    std::vector<record_entry> rows;
    // Keys already down when the panel opened (an arrow still held from the run): their
    // auto-repeat is no typing, so they are ignored until released.
    bool held[KEY_MAX] = {};
};
win_view view;

int ink() { return makecol(0, 0, 0); }
int label_ink() { return makecol(120, 72, 40); }

// A row's proof, 9 pixels wide: a green tick for a run that proves its time, a red cross for
// one that does not, a grey ring for a record without a run.
void draw_mark(BITMAP *bmp, proof p, int x, int y)
{
    if (p == proof::proven) {
        const int green = makecol(30, 130, 40);
        for (int t = 0; t < 2; t++) {
            line(bmp, x, y + 5 + t, x + 3, y + 8 + t, green);
            line(bmp, x + 3, y + 8 + t, x + 9, y + t, green);
        }
    } else if (p == proof::unproven) {
        const int red = makecol(190, 30, 20);
        for (int t = 0; t < 2; t++) {
            line(bmp, x + t, y + 1, x + 7 + t, y + 8, red);
            line(bmp, x + 7 + t, y + 1, x + t, y + 8, red);
        }
    } else {
        circle(bmp, x + 4, y + 5, 3, makecol(140, 120, 100));
    }
}

void draw_legend(BITMAP *bmp, int y)
{
    FONT *small = static_cast<FONT *>(data1[OBJ_FONT_TEXT].dat);
    const char *const says[3] = {"todistettu", "ei todistu", "ei tallennetta"};
    const proof kinds[3] = {proof::proven, proof::unproven, proof::no_run};
    int width = 0;
    for (const char *t : says)
        width += 14 + text_length(small, t) + 18;
    int x = (px1 + px2) / 2 - (width - 18) / 2;
    for (int k = 0; k < 3; k++) {
        draw_mark(bmp, kinds[k], x, y + 1);
        textout_ex(bmp, small, says[k], x + 14, y, label_ink(), -1);
        x += 14 + text_length(small, says[k]) + 18;
    }
}

void draw_panel(BITMAP *bmp)
{
    FONT *f = static_cast<FONT *>(data1[OBJ_FONT_MENU].dat);
    const int mid = (px1 + px2) / 2;
    rectfill(bmp, px1, py1, px2, py2, makecol(255, 238, 221));
    Frame(bmp, px1, py1, px2, py2, makecol(32, 8, 4));

    textout_centre_ex(bmp, f, view.table_only ? L1("Ennätykset") : "Kaikki liput poimittu!", mid, py1 + 16,
                      label_ink(), -1);
    textout_centre_ex(bmp, f, view.heading.c_str(), mid, py1 + 42, ink(), -1);
    if (view.rank >= 0) {
        std::string place =
            view.new_best ? L1("Uusi ennätys!") : std::to_string(view.rank + 1) + ". sija taulukossa";
        if (view.trial)
            place = view.new_best ? L1("Olisi uusi ennätys!") : "Olisi " + place;
        textout_centre_ex(bmp, f, place.c_str(), mid, py1 + 68, makecol(180, 30, 20), -1);
    }

    const int head_y = table_y - 26;
    textout_right_ex(bmp, f, "Sija", rank_x2, head_y, label_ink(), -1);
    textout_ex(bmp, f, "Nimi", name_x, head_y, label_ink(), -1);
    textout_right_ex(bmp, f, "Aika", time_x2, head_y, label_ink(), -1);
    textout_right_ex(bmp, f, L1("Päivä"), date_x2, head_y, label_ink(), -1);
    hline(bmp, px1 + 14, table_y - 7, px2 - 14, makecol(120, 72, 40));

    for (int i = 0; i < record_table::kept; i++) {
        const int y = table_y + i * row_step;
        if (i == view.rank)
            rectfill(bmp, px1 + 14, y - 5, px2 - 14, y + row_step - 8, makecol(255, 214, 140));
        else if (i % 2)
            rectfill(bmp, px1 + 14, y - 5, px2 - 14, y + row_step - 8, makecol(250, 228, 206));
        if (i == view.selected)
            rect(bmp, px1 + 14, y - 5, px2 - 14, y + row_step - 8, makecol(120, 72, 40));
        textout_right_ex(bmp, f, (std::to_string(i + 1) + ".").c_str(), rank_x2, y, label_ink(), -1);
        if (static_cast<size_t>(i) >= view.rows.size())
            continue;
        if (static_cast<size_t>(i) < view.marks.size())
            draw_mark(bmp, view.marks[static_cast<size_t>(i)], mark_x, y + 2);
        const record_entry &run = view.rows[static_cast<size_t>(i)];
        if (!(view.asking && i == view.rank))
            textout_ex(bmp, f, run.name.c_str(), name_x, y, ink(), -1);
        textout_right_ex(bmp, f, time_text(run.time).c_str(), time_x2, y, ink(), -1);
        textout_right_ex(bmp, f, date_text(run.date).c_str(), date_x2, y, ink(), -1);
    }
    const int note_y = table_y + record_table::kept * row_step + 6;
    if (!view.rows.empty())
        draw_legend(bmp, legend_y);
    if (!view.shared.empty())
        textout_centre_ex(bmp, f, ("Tallennettu: " + view.shared).c_str(), mid, note_y, label_ink(), -1);
    else if (view.table_only)
        textout_centre_ex(bmp, f, view.rows.empty() ? L1("Ei vielä yhtään voittoa.") : "Valitse rivi ja paina Katso.",
                          mid, note_y, label_ink(), -1);
    else if (view.trial)
        textout_centre_ex(bmp, f, "Kokeilua ei tallenneta taulukkoon.", mid, note_y, label_ink(), -1);
    else if (view.asking)
        textout_centre_ex(bmp, f, "Kirjoita nimesi ja paina Enter.", mid, note_y, label_ink(), -1);
    else if (view.rank >= 0)
        textout_centre_ex(bmp, f, view.saved ? L1("Ennätys on tallennettu.") : L1("Ennätystä ei voitu tallentaa."),
                          mid, note_y, label_ink(), -1);
}

// A key of MSG_CHAR that was held when the panel opened and has not been let go since.
bool held_over(int c)
{
    const int scancode = c >> 8;
    if (scancode <= 0 || scancode >= KEY_MAX || !view.held[scancode])
        return false;
    if (!key[scancode])
        view.held[scancode] = false;  // a repeat from before the release, still in the buffer
    return true;
}

int d_win_panel_proc(int msg, DIALOG *d, int c)
{
    (void)c;
    if (msg == MSG_DRAW)
        draw_panel(gui_get_screen());
    // A click on a row with a record selects it for "Katso" and "Tallenna suoritus".
    if (msg == MSG_CLICK && !view.asking && gui_mouse_x() > px1 + 14 && gui_mouse_x() < px2 - 14 &&
        gui_mouse_y() >= table_y - 5) {
        const int row = (gui_mouse_y() - table_y + 5) / row_step;
        if (row < static_cast<int>(view.rows.size()) && row != view.selected) {
            view.selected = row;
            view.shared.clear();
            object_message(d, MSG_DRAW, 0);
        }
    }
    if (msg == MSG_IDLE)  // a round follows every release, so none is missed
        for (int k = 0; k < KEY_MAX; k++)
            view.held[k] = view.held[k] && key[k];
    return D_O_K;
}

int d_win_button_proc(int msg, DIALOG *d, int c)
{
    if (msg == MSG_CHAR && held_over(c))
        return D_USED_CHAR;
    // While the name is typed the keys stay in its field, however the pointer moves; a click
    // still presses a button.
    if (msg == MSG_WANTFOCUS && view.asking)
        return D_O_K;
    return d_button_proc(msg, d, c);
}

// The line under the table that says a character typed cannot be used, or that a name is missing.
int d_refusal_proc(int msg, DIALOG *d, int c)
{
    (void)c;
    if (msg != MSG_DRAW)
        return D_O_K;
    BITMAP *bmp = gui_get_screen();
    rectfill(bmp, d->x, d->y, d->x + d->w - 1, d->y + d->h - 1, makecol(255, 238, 221));
    const char *says = view.note == win_view::refused ? L1("Merkkiä ei voi käyttää nimessä.")
                       : view.note == win_view::empty ? L1("Nimi ei voi olla tyhjä.")
                                                       : nullptr;
    if (view.asking && says)
        textout_centre_ex(bmp, static_cast<FONT *>(data1[OBJ_FONT_MENU].dat), says, d->x + d->w / 2, d->y,
                          makecol(180, 30, 20), -1);
    return D_O_K;
}

// What a typed character becomes in a name, which is Latin-1: itself, its nearest Latin-1
// letters, or nothing when it has none. The library hands every character beyond U+FFFF (an
// emoji) on as '^', so '^' is refused too: it cannot be told from them.
std::string name_text(int c)
{
    return c == '^' ? "" : latin1_nearest(c);
}

// Redraws the line under the table when what it says changes.
void set_note(DIALOG *name, win_view::note_kind note)
{
    if (view.note == note)
        return;
    view.note = note;
    object_message(name + (refusal_obj - name_obj), MSG_DRAW, 0);
}

// The name field offers a name; the first character typed replaces it rather than adding to it,
// while the cursor keys and Backspace edit it as it is. It keeps every key but Esc until Enter,
// and Enter too while the field holds no name: an empty one is never someone else's.
// The dialog manager hands a key first as MSG_CHAR (scan code, Latin-1 or '^'), then, when that
// did not use it, as MSG_UCHAR with the whole character.
int d_name_edit_proc(int msg, DIALOG *d, int c)
{
    switch (msg) {
    case MSG_START:
        d->dp3 = nullptr;
        break;
    case MSG_CHAR: {
        if (held_over(c))
            return D_USED_CHAR;
        const int scancode = c >> 8;
        if (scancode == KEY_TAB)
            return D_USED_CHAR;
        if (scancode == KEY_ENTER_PAD)
            c = KEY_ENTER << 8 | '\r';
        if (c >> 8 == KEY_ENTER && clean_name(static_cast<const char *>(d->dp)).empty()) {
            set_note(d, win_view::empty);
            return D_USED_CHAR;
        }
        const int r = d_edit_proc(msg, d, c);
        if (r & D_USED_CHAR)
            d->dp3 = d;  // touched: edited as it is
        return r;
    }
    case MSG_UCHAR: {
        if (c == 27)
            return D_O_K;  // Esc: the dialog manager ends the panel
        if (c < 0x20)
            return D_USED_CHAR;
        const std::string text = name_text(c);
        set_note(d, text.empty() ? win_view::refused : win_view::no_note);
        if (!text.empty() && !d->dp3) {
            static_cast<char *>(d->dp)[0] = '\0';
            d->d2 = 0;
            d->dp3 = d;
        }
        for (char ch : text)
            d_edit_proc(MSG_UCHAR, d, static_cast<unsigned char>(ch));
        return D_USED_CHAR;
    }
    }
    return d_edit_proc(msg, d, c);
}

char *text(const char *s)
{
    return const_cast<char *>(s);
}

board_maker maker(const table_level &level)
{
    const std::string text = level.text;
    return [text]() -> field * { return text.empty() ? nullptr : field::from_text(text); };
}

// The marks of the level's table as it stands.
void prove_rows(const std::string &key, const table_level &level)
{
    view.marks = prove_table(player_records, key, maker(level));
}

// The run a row or the run just won stands for: its tilts, and whether it proves its time.
bool selected_run(const std::vector<run_tilt> &played, run_record &run, std::string &verdict)
{
    if (view.selected < 0) {
        if (played.empty())
            return false;
        run.tilts = played;
        verdict = view.trial ? "Kokeilu" : "Juuri pelattu";
        return true;
    }
    const size_t row = static_cast<size_t>(view.selected);
    if (row >= view.rows.size() || !row_run(view.rows[row], run))
        return false;
    const proof p = row < view.marks.size() ? view.marks[row] : proof::unproven;
    verdict = p == proof::proven             ? L1("Todistettu ennätys")
              : run.rules != rules_version ? other_rules_verdict(run)
                                             : L1("Ei todistu tällä kentällä");
    return true;
}

void watch_selected(const table_level &level, const std::vector<run_tilt> &played)
{
    run_record run;
    std::string verdict;
    if (!selected_run(played, run, verdict)) {
        alert(L1("Tällä rivillä ei ole tallennettua suoritusta."), "", "", "Ok", nullptr, 0, 0);
        return;
    }
    if (level.watch)
        level.watch(run.tilts, verdict);
}

// Writes the selected run and its board into a file the player names.
void share_selected(const std::string &key, const table_level &level, const std::vector<run_tilt> &played)
{
    shared_run out;
    std::string verdict;
    if (level.text.empty() || !selected_run(played, out.run, verdict)) {
        alert(L1("Tällä rivillä ei ole tallennettua suoritusta."), "", "", "Ok", nullptr, 0, 0);
        return;
    }
    out.run.board = key;
    out.title = level.title;
    out.level = level.text;
    const int time = view.selected < 0 ? view.time : view.rows[static_cast<size_t>(view.selected)].time;
    std::string suggested = new_run_name(level.title, today_iso(), time);
    suggested = suggested.empty() ? "suoritus.vkr" : suggested.substr(0, suggested.size() - 4) + ".vkr";
    char path[path_buffer_size];
    set_save_run_name(suggested, path);
    if (!path[0])
        return;
    std::string name = path;
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".vkr") != 0)
        name += ".vkr";
    if (replace_own_file(name, write_shared_run(out)) != own_write::written) {
        alert("Suoritusta ei voitu tallentaa", shown_file_name(name).c_str(), "", "Ok", nullptr, 0, 0);
        return;
    }
    view.shared = shown_file_name(name);
}

void run_buttons(DIALOG *dialog)
{
    dialog[watch_obj] = {d_win_button_proc, px1 + 22, run_button_y, 120, 28, 0, 0xaaaaaa, 0, D_EXIT, 0, 0,
                         text("Katso"), nullptr, nullptr};
    dialog[share_obj] = {d_win_button_proc, px1 + 155, run_button_y, 186, 28, 0, 0xaaaaaa, 0, D_EXIT, 0, 0,
                         text("Tallenna suoritus"), nullptr, nullptr};
}

}  // namespace

win_choice win_dialog(const std::string &level_id, int time, bool trial, const std::vector<run_tilt> &played,
                      const table_level &level)
{
    record_entry run{time, today_iso(), trial ? std::string("(kokeilu)") : offered_name()};
    view = win_view();
    view.time = time;
    view.trial = trial;
    view.heading = "Aikasi " + time_text(time);
    const medal won_medal = medal_for(level.medals, time);
    if (won_medal != no_medal && !trial)
        view.heading += std::string(L1("  ·  ")) + (won_medal == gold ? "Kultamitali!" : won_medal == silver ? "Hopeamitali!" : "Pronssimitali!");
    view.rank = player_records.rank(level_id, time);
    view.asking = view.rank >= 0;
    prove_rows(level_id, level);
    view.rows = player_records.table(level_id);
    // Only a proven record counts as the best: a run faster than all of them is a new one.
    const int best = proven_best_time(player_records, level_id, maker(level));
    view.new_best = view.rank == 0 || (view.rank > 0 && !played.empty() && (best == 0 || time < best));
    if (view.asking) {
        view.rows.insert(view.rows.begin() + view.rank, run);
        view.marks.insert(view.marks.begin() + view.rank, trial ? proof::no_run : proof::proven);
    }
    if (view.rows.size() > static_cast<size_t>(record_table::kept))
        view.rows.resize(record_table::kept);
    view.asking = view.asking && !trial;
    view.selected = view.rank >= 0 && !trial ? view.rank : -1;

    clear_keybuf();  // nothing typed during the run reaches the panel
    char name[record_table::name_max + 1] = "";
    std::strncpy(name, run.name.c_str(), record_table::name_max);
    const int name_y = table_y + (view.rank < 0 ? 0 : view.rank) * row_step - 1;
    const int refusal_y = table_y + record_table::kept * row_step + 28;
    DIALOG dialog[] = {
        {d_win_panel_proc, px1, py1, px2 - px1 + 1, py2 - py1 + 1, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
        {d_name_edit_proc, name_x - 3, name_y, 180, 18, 0, 0xfffcf6, 0, D_EXIT,
         static_cast<int>(record_table::name_max), static_cast<int>(std::strlen(name)), name, nullptr, nullptr},
        {d_win_button_proc, px1 + 22, button_y, 120, 28, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, text("Seuraava"), nullptr, nullptr},
        {d_win_button_proc, px1 + 155, button_y, 120, 28, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, text("Uudestaan"), nullptr, nullptr},
        {d_win_button_proc, px1 + 288, button_y, 120, 28, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, text("Valikkoon"), nullptr, nullptr},
        {d_refusal_proc, px1 + 14, refusal_y, px2 - px1 - 27, 20, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
        {},
        {},
        {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    };
    run_buttons(dialog);
    if (trial) {
        // Back to the editor, or the same board again; there is no next level.
        dialog[next_obj].flags |= D_HIDDEN | D_DISABLED;
        dialog[menu_obj].dp = text("Editoriin");
    }

    // However the panel ends, the run keeps its place in the table under the name in the field;
    // a field left empty (Esc, a button, the game ending) is no one's name, least of all the
    // one offered.
    // The run's file is made when the records are saved: a record never waits without it.
    auto store_run = [&] {
        run.name = clean_name(name);
        if (run.name.empty())
            run.name = nameless_player;
        player_records.last_name = run.name;
        if (played.empty()) {
            player_records.enter(level_id, run);
        } else {
            run_record kept;
            kept.board = level_id;
            kept.tilts = played;
            player_records.enter(level_id, run, level.title, kept);
        }
        view.asking = false;
    };
    // Should the X server go away meanwhile, no alert could say anything: the run is only written.
    end_saver save_on_end([&] {
        if (!view.asking)
            return;
        store_run();
        player_records.save(records_file);
    });

    for (;;) {
        if (!view.asking)
            dialog[name_obj].flags |= D_HIDDEN;
        // Nor does a key held from the run, or the Enter that named it, while it stays down.
        for (int k = 0; k < KEY_MAX; k++)
            view.held[k] = key[k] != 0;
        const int r = do_dialog(dialog, view.asking ? name_obj : trial ? menu_obj : next_obj);
        if (view.asking) {
            store_run();
            view.saved = save_player_records() == 0;
            view.note = win_view::no_note;
            view.rows = player_records.table(level_id);
            prove_rows(level_id, level);
            if (r == name_obj)
                continue;  // Enter: the table with the name, and the buttons ready
        }
        if (close_requested || end_signal)
            return win_menu;
        if (r == watch_obj) {
            watch_selected(level, played);
            if (close_requested || end_signal)
                return win_menu;  // the watched run ended by the close button or a logout
            continue;
        }
        if (r == share_obj) {
            share_selected(level_id, level, played);
            continue;
        }
        if (r == next_obj)
            return win_next;
        if (r == again_obj)
            return win_again;
        return win_menu;
    }
}

void records_dialog(const table_level &level)
{
    const std::string key = level_key(level.text);
    view = win_view();
    view.table_only = true;
    view.heading = level.title;
    view.rows = player_records.table(key);
    prove_rows(key, level);
    view.selected = view.rows.empty() ? -1 : std::max(0, best_proven(player_records, key, maker(level)));

    DIALOG dialog[] = {
        {d_win_panel_proc, px1, py1, px2 - px1 + 1, py2 - py1 + 1, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
        {d_win_panel_proc, 0, 0, 0, 0, 0, 0, 0, D_HIDDEN, 0, 0, nullptr, nullptr, nullptr},
        {d_win_panel_proc, 0, 0, 0, 0, 0, 0, 0, D_HIDDEN, 0, 0, nullptr, nullptr, nullptr},
        {d_win_panel_proc, 0, 0, 0, 0, 0, 0, 0, D_HIDDEN, 0, 0, nullptr, nullptr, nullptr},
        {d_win_button_proc, px1 + 288, button_y, 120, 28, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, text("Takaisin"), nullptr, nullptr},
        {d_win_panel_proc, 0, 0, 0, 0, 0, 0, 0, D_HIDDEN, 0, 0, nullptr, nullptr, nullptr},
        {},
        {},
        {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    };
    run_buttons(dialog);
    if (view.rows.empty())
        dialog[watch_obj].flags = dialog[share_obj].flags = D_DISABLED;

    // The board the table belongs to, under the panel.
    clear_to_color(screen, 0);
    if (field *board = field::from_text(level.text)) {
        board->test_draw();
        delete board;
    }
    while (!close_requested && !end_signal) {
        const int r = do_dialog(dialog, view.rows.empty() ? menu_obj : watch_obj);
        if (close_requested || end_signal)
            return;
        if (r == watch_obj)
            watch_selected(level, {});
        else if (r == share_obj)
            share_selected(key, level, {});
        else
            return;
    }
}
