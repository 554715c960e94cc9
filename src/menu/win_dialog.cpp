#include "menu/win_dialog.h"

#include <allegro.h>

#include <cstring>
#include <vector>

#include "menu/menu.h"
#include "records/player_records.h"
#include "records/run_time.h"
#include "shell/data1.h"
#include "shell/globals.h"

namespace {

// The panel's inner rectangle, over the middle of the board; its frame lies six pixels outside.
const int px1 = 58, py1 = 88, px2 = 487, py2 = 457;
const int table_y = py1 + 126;  // the first row of the table
const int row_step = 24;
const int rank_x2 = px1 + 50;   // columns: rank ends, name starts, time ends, date ends
const int name_x = px1 + 64;
const int time_x2 = px1 + 318;
const int date_x2 = px2 - 18;
const int button_y = py2 - 42;

enum { panel_obj, name_obj, next_obj, again_obj, menu_obj };

// What the panel shows; the dialog's procedure reads it when it draws.
struct win_view {
    int time = 0;
    int rank = -1;          // the run's row in the table, or -1
    bool asking = false;    // the run's name is still being typed
    bool saved = false;     // the records file holds the run
    std::vector<record_entry> rows;
};
win_view view;

int ink() { return makecol(0, 0, 0); }
int label_ink() { return makecol(120, 72, 40); }

void draw_panel(BITMAP *bmp)
{
    FONT *f = static_cast<FONT *>(data1[OBJ_FONT_MENU].dat);
    const int mid = (px1 + px2) / 2;
    rectfill(bmp, px1, py1, px2, py2, makecol(255, 238, 221));
    Frame(bmp, px1, py1, px2, py2, makecol(32, 8, 4));

    textout_centre_ex(bmp, f, "Kaikki liput poimittu!", mid, py1 + 16, label_ink(), -1);
    const std::string time = "Aikasi " + time_text(view.time);
    textout_centre_ex(bmp, f, time.c_str(), mid, py1 + 42, ink(), -1);
    if (view.rank >= 0)
        textout_centre_ex(bmp, f, "Uusi ennätys!", mid, py1 + 68, makecol(180, 30, 20), -1);

    const int head_y = table_y - 26;
    textout_right_ex(bmp, f, "Sija", rank_x2, head_y, label_ink(), -1);
    textout_ex(bmp, f, "Nimi", name_x, head_y, label_ink(), -1);
    textout_right_ex(bmp, f, "Aika", time_x2, head_y, label_ink(), -1);
    textout_right_ex(bmp, f, "Päivä", date_x2, head_y, label_ink(), -1);
    hline(bmp, px1 + 14, table_y - 7, px2 - 14, makecol(120, 72, 40));

    for (int i = 0; i < record_table::kept; i++) {
        const int y = table_y + i * row_step;
        if (i == view.rank)
            rectfill(bmp, px1 + 14, y - 5, px2 - 14, y + row_step - 8, makecol(255, 214, 140));
        else if (i % 2)
            rectfill(bmp, px1 + 14, y - 5, px2 - 14, y + row_step - 8, makecol(250, 228, 206));
        textout_right_ex(bmp, f, (std::to_string(i + 1) + ".").c_str(), rank_x2, y, label_ink(), -1);
        if (static_cast<size_t>(i) >= view.rows.size())
            continue;
        const record_entry &run = view.rows[static_cast<size_t>(i)];
        if (!(view.asking && i == view.rank))
            textout_ex(bmp, f, run.name.c_str(), name_x, y, ink(), -1);
        textout_right_ex(bmp, f, time_text(run.time).c_str(), time_x2, y, ink(), -1);
        textout_right_ex(bmp, f, date_text(run.date).c_str(), date_x2, y, ink(), -1);
    }
    const int note_y = table_y + record_table::kept * row_step + 6;
    if (view.asking)
        textout_centre_ex(bmp, f, "Kirjoita nimesi ja paina Enter.", mid, note_y, label_ink(), -1);
    else if (view.rank >= 0)
        textout_centre_ex(bmp, f, view.saved ? "Ennätys on tallennettu." : "Ennätystä ei voitu tallentaa.",
                          mid, note_y, label_ink(), -1);
}

int d_win_panel_proc(int msg, DIALOG *d, int c)
{
    (void)d;
    (void)c;
    if (msg == MSG_DRAW)
        draw_panel(gui_get_screen());
    return D_O_K;
}

// The name field offers a name; the first character typed replaces it rather than adding to it,
// while the cursor keys and Backspace edit it as it is.
int d_name_edit_proc(int msg, DIALOG *d, int c)
{
    if (msg == MSG_START)
        d->dp3 = nullptr;
    // Every key comes first as MSG_CHAR (scan code and character), a printable one then as MSG_UCHAR.
    if (msg == MSG_CHAR && !d->dp3) {
        const int ch = c & 0xff;
        if (ch >= 0x20 && ch != 0x7f) {
            static_cast<char *>(d->dp)[0] = '\0';
            d->d2 = 0;
        }
        d->dp3 = d;  // touched
    }
    return d_edit_proc(msg, d, c);
}

char *text(const char *s)
{
    return const_cast<char *>(s);
}

}  // namespace

win_choice win_dialog(const std::string &level_id, int time)
{
    record_entry run{time, today_iso(), offered_name()};
    view = win_view();
    view.time = time;
    view.rank = player_records.rank(level_id, time);
    view.asking = view.rank >= 0;
    view.rows = player_records.table(level_id);
    if (view.asking)
        view.rows.insert(view.rows.begin() + view.rank, run);
    if (view.rows.size() > static_cast<size_t>(record_table::kept))
        view.rows.resize(record_table::kept);

    char name[record_table::name_max + 1] = "";
    std::strncpy(name, run.name.c_str(), record_table::name_max);
    const int name_y = table_y + (view.rank < 0 ? 0 : view.rank) * row_step - 1;
    DIALOG dialog[] = {
        {d_win_panel_proc, px1, py1, px2 - px1 + 1, py2 - py1 + 1, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
        {d_name_edit_proc, name_x - 3, name_y, 180, 18, 0, 0xfffcf6, 0, D_EXIT,
         static_cast<int>(record_table::name_max), static_cast<int>(std::strlen(name)), name, nullptr, nullptr},
        {d_button_proc, px1 + 22, button_y, 120, 28, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, text("Seuraava"), nullptr, nullptr},
        {d_button_proc, px1 + 155, button_y, 120, 28, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, text("Uudestaan"), nullptr, nullptr},
        {d_button_proc, px1 + 288, button_y, 120, 28, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, text("Valikkoon"), nullptr, nullptr},
        {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    };

    for (;;) {
        if (!view.asking)
            dialog[name_obj].flags |= D_HIDDEN;
        const int r = do_dialog(dialog, view.asking ? name_obj : next_obj);
        if (view.asking) {
            // However the dialog ends, the run keeps its place in the table.
            run.name = clean_name(name);
            if (run.name.empty())
                run.name = offered_name();
            player_records.last_name = run.name;
            player_records.enter(level_id, run);
            view.saved = save_player_records() == 0;
            view.asking = false;
            view.rows = player_records.table(level_id);
            if (r == name_obj)
                continue;  // Enter: the table with the name, and the buttons ready
        }
        if (r == next_obj)
            return win_next;
        if (r == again_obj)
            return win_again;
        return win_menu;
    }
}
