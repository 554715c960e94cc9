#include "marble/run_panel.h"

#include "menu/menu.h"
#include "records/run_time.h"
#include "shell/data1.h"
#include "shell/globals.h"

namespace {

// Inner rectangles of the framed boxes; the frames lie six pixels outside them.
const int box_x1 = 564, box_x2 = 781;
const int level_y1 = 18, level_y2 = 66;
const int run_y1 = 90, run_y2 = 210;
const int keys_y1 = 234, keys_y2 = 318;
const int pause_y1 = 342, pause_y2 = 402;
const int label_x = box_x1 + 12;
const int value_x2 = box_x2 - 12;  // values end here
const int row_y0 = run_y1 + 10;
const int row_step = 28;
const int time_row = 1;
const int time_w = 84;  // room for the widest value, "999:59,99"

int cream() { return makecol(255, 238, 221); }
int frame_brown() { return makecol(32, 8, 4); }
int label_ink() { return makecol(120, 72, 40); }
int value_ink() { return makecol(0, 0, 0); }

void box(int y1, int y2)
{
    rectfill(screen, box_x1, y1, box_x2, y2, cream());
    Frame(screen, box_x1, y1, box_x2, y2, frame_brown());
}

// A key drawn as a small grey keycap, lit from the upper left like the frames.
void keycap(FONT *f, int x, int y, const char *label)
{
    const int w = 38, h = text_height(f) + 4;
    rectfill(screen, x, y, x + w - 1, y + h - 1, makecol(0xaa, 0xaa, 0xaa));
    hline(screen, x, y, x + w - 1, makecol(0xe2, 0xe2, 0xe2));
    vline(screen, x, y, y + h - 1, makecol(0xe2, 0xe2, 0xe2));
    hline(screen, x, y + h - 1, x + w - 1, makecol(0x55, 0x55, 0x55));
    vline(screen, x + w - 1, y, y + h - 1, makecol(0x55, 0x55, 0x55));
    textout_centre_ex(screen, f, label, x + w / 2, y + 2, makecol(0, 0, 0), -1);
}

// The longest start of `text` that fits `width` pixels, with "..." when cut.
std::string fitted(FONT *f, const std::string &text, int width)
{
    if (text_length(f, text.c_str()) <= width)
        return text;
    std::string cut = text;
    while (!cut.empty() && text_length(f, (cut + "...").c_str()) > width)
        cut.pop_back();
    return cut + "...";
}

}  // namespace

run_panel::run_panel(const std::string &level_name, int flags, int best)
    : text_font(static_cast<FONT *>(data1[OBJ_FONT_MENU].dat)),
      name(level_name),
      flags_all(flags), best_time(best)
{
}

void run_panel::draw()
{
    FONT *f = text_font;
    rectfill(screen, left, 0, screen->w - 1, screen->h - 1, 0);

    box(level_y1, level_y2);
    textout_ex(screen, f, "Kenttä", label_x, level_y1 + 8, label_ink(), -1);
    textout_ex(screen, f, fitted(f, name, box_x2 - box_x1 - 24).c_str(), label_x, level_y1 + 28,
               value_ink(), -1);

    box(run_y1, run_y2);
    static const char *const labels[4] = {"Liput", "Aika", "Ennätys", "Putoamiset"};
    for (int row = 0; row < 4; row++)
        textout_ex(screen, f, labels[row], label_x, row_y0 + row * row_step, label_ink(), -1);
    // Rules between the rows, as on a score card.
    for (int row = 1; row < 4; row++)
        hline(screen, label_x, row_y0 + row * row_step - 7, value_x2, makecol(230, 208, 186));
    value(2, best_time > 0 ? time_text(best_time) : "ei vielä");

    box(keys_y1, keys_y2);
    static const char *const keys[3][2] = {
        {"Esc", "valikkoon"}, {"P", "tauko"}, {"R", "alusta (kysyy)"}};
    for (int k = 0; k < 3; k++) {
        const int y = keys_y1 + 8 + k * 25;
        keycap(f, label_x, y, keys[k][0]);
        textout_ex(screen, f, keys[k][1], label_x + 52, y + 2, value_ink(), -1);
    }

    // The game's name at the foot, from the title picture.
    BITMAP *logo = static_cast<BITMAP *>(data1[OBJ_TITLE_LOGO].dat);
    const int logo_w = box_x2 - box_x1 + 1, logo_h = logo->h * logo_w / logo->w;
    stretch_sprite(screen, logo, box_x1, grid::pixels - logo_h, logo_w, logo_h);

    shown_flags = shown_falls = -1;
    shown_time.clear();
}

void run_panel::value(int row, const std::string &text)
{
    const int y = row_y0 + row * row_step;
    rectfill(screen, value_x2 - time_w, y, value_x2, y + text_height(text_font) - 1, cream());
    textout_right_ex(screen, text_font, text.c_str(), value_x2, y, value_ink(), -1);
}

// The time changes every frame: its characters keep their places (the font's digits are of one
// width), and only those that changed are drawn again, each with its own background in one go.
void run_panel::time_value(const std::string &text, bool whole)
{
    const int y = row_y0 + time_row * row_step;
    if (whole)
        rectfill(screen, value_x2 - time_w, y, value_x2, y + text_height(text_font) - 1, cream());
    int x = value_x2 + 1;
    for (size_t i = text.size(); i-- > 0;) {
        const char c[2] = {text[i], 0};
        x -= text_length(text_font, c);
        if (whole || shown_time[i] != text[i])
            textout_ex(screen, text_font, c, x, y, value_ink(), cream());
    }
    shown_time = text;
}

void run_panel::update(int flags_taken, int time, int falls, bool exact)
{
    if (flags_taken != shown_flags) {
        value(0, std::to_string(flags_taken) + " / " + std::to_string(flags_all));
        shown_flags = flags_taken;
    }
    const int step = 3;
    if (shown_time.empty() || exact || time < shown_at || time - shown_at >= step) {
        const std::string t = time_text(time);
        if (t != shown_time)
            time_value(t, t.size() != shown_time.size());
        shown_at = time;
    }
    if (falls != shown_falls) {
        value(3, std::to_string(falls));
        shown_falls = falls;
    }
}

void run_panel::show_pause(bool paused)
{
    if (!paused) {
        rectfill(screen, box_x1 - 6, pause_y1 - 6, box_x2 + 6, pause_y2 + 6, 0);
        return;
    }
    box(pause_y1, pause_y2);
    const int mid = (box_x1 + box_x2) / 2;
    textout_centre_ex(screen, text_font, "Tauko", mid, pause_y1 + 12, makecol(160, 30, 20), -1);
    textout_centre_ex(screen, text_font, "P jatkaa peliä", mid, pause_y1 + 34, label_ink(), -1);
}
