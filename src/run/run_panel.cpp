#include "run/run_panel.h"

#include <cmath>
#include <utility>
#include <vector>

#include "field/tile_guide.h"
#include "field/tile_kind.h"
#include "marble/bead.h"

#include "platform/data1.h"
#include "platform/frame.h"
#include "platform/globals.h"
#include "platform/text_encoding.h"
#include "records/run_time.h"

namespace {

// Inner rectangles of the framed boxes; the frames lie six pixels outside them.
const int box_x1 = 564, box_x2 = 781;
const int level_y1 = 18, level_y2 = 66;
const int run_y1 = 90, run_y2 = 210;
const int keys_y1 = 234, keys_y2 = 343;
// The spirit level's box; the pause notice takes its place while the run is held.
const int level_box_y1 = 367, level_box_y2 = 462;
const int pause_y1 = level_box_y1, pause_y2 = level_box_y2;
// A tile met for the first time is named at the foot, where the game's name stands otherwise.
const int hint_y1 = 480, hint_y2 = 588;
// The vial: a wooden ring round a glass face of liquid, and the bubble in it.
const int ring_r = 42, glass_r = 37, bubble_r = 9;  // bubble_r: the picture's radius
const int vial_size = 2 * ring_r + 1;
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

// The spirit level without its bubble, centred in a bitmap of vial_size on the box's cream.
void draw_face(BITMAP *b)
{
    const int c = ring_r;
    clear_to_color(b, cream());
    circlefill(b, c, c, ring_r, frame_brown());
    circlefill(b, c, c, ring_r - 1, label_ink());
    circlefill(b, c - 1, c - 1, ring_r - 3, makecol(176, 124, 82));  // lit from the upper left
    circlefill(b, c, c, glass_r + 1, makecol(70, 40, 20));
    // The glass is deep: its upper left edge lies in the ring's shadow.
    circlefill(b, c, c, glass_r, makecol(150, 178, 72));
    circlefill(b, c + 2, c + 2, glass_r - 3, makecol(190, 214, 104));
}

// The bubble, and over it the glass's marks: the cross and the ring a level board fills.
void draw_bubble(BITMAP *b, int bx, int by)
{
    const int c = ring_r;
    BITMAP *bubble = static_cast<BITMAP *>(data1[OBJ_BUBBLE].dat);
    draw_sprite(b, bubble, bx - bubble->w / 2, by - bubble->h / 2);
    const int mark = makecol(60, 80, 30);
    hline(b, c - glass_r + 4, c, c - bubble_r - 3, mark);
    hline(b, c + bubble_r + 3, c, c + glass_r - 4, mark);
    vline(b, c, c - glass_r + 4, c - bubble_r - 3, mark);
    vline(b, c, c + bubble_r + 3, c + glass_r - 4, mark);
    circle(b, c, c, bubble_r + 2, mark);
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

run_panel::run_panel(const std::string &level_name, int flags, int best, kind what)
    : text_font(static_cast<FONT *>(data1[OBJ_FONT_MENU].dat)),
      name(level_name),
      flags_all(flags), best_time(best), what(what), vial_face(create_bitmap(vial_size, vial_size)),
      vial_work(create_bitmap(vial_size, vial_size))
{
    draw_face(vial_face);
}

run_panel::~run_panel()
{
    destroy_bitmap(vial_face);
    destroy_bitmap(vial_work);
}

void run_panel::draw()
{
    FONT *f = text_font;
    rectfill(screen, left, 0, screen->w - 1, screen->h - 1, 0);

    draw_name();

    box(run_y1, run_y2);
    static const char *const labels[4] = {"Liput", "Aika", L1("Ennätys"), "Putoamiset"};
    for (int row = 0; row < 4; row++)
        textout_ex(screen, f, labels[row], label_x, row_y0 + row * row_step, label_ink(), -1);
    // Rules between the rows, as on a score card.
    for (int row = 1; row < 4; row++)
        hline(screen, label_x, row_y0 + row * row_step - 7, value_x2, makecol(230, 208, 186));
    value(2, best_time > 0 ? time_text(best_time) : L1("ei vielä"));

    box(keys_y1, keys_y2);
    std::vector<std::pair<const char *, const char *>> keys;
    if (what == watch) {
        keys = {{"Esc", "takaisin"}, {"P", "tauko"}, {"1 2 4", "nopeus"}};
    } else {
        keys = {{"Esc", what == trial ? "editoriin" : "valikkoon"}, {"P", "tauko"}, {"R", "alusta (kysyy)"},
                {L1("Väli"), "vaakaan"}};
        if (racing)
            keys.push_back({"G", "haamu"});
    }
    const int key_step = keys.size() > 4 ? 20 : 25;
    for (size_t k = 0; k < keys.size(); k++) {
        const int y = keys_y1 + 8 + static_cast<int>(k) * key_step;
        keycap(screen, f, label_x, y, 44, keys[k].first);
        textout_ex(screen, f, keys[k].second, label_x + 56, y + 2, value_ink(), -1);
    }

    draw_foot();

    if (!end_first.empty())
        show_end(end_first, end_second);
    else if (paused)
        show_pause(true);
    else
        draw_vial();

    shown_flags = shown_falls = -1;
    shown_time.clear();
}

void run_panel::show_hint(const tile_guide_entry *entry)
{
    if (entry == hint)
        return;
    hint = entry;
    rectfill(screen, box_x1 - 6, hint_y1 - 6, box_x2 + 6, screen->h - 1, 0);
    draw_foot();
}

void run_panel::draw_foot()
{
    if (!hint) {
        // The game's name, from the title picture.
        BITMAP *logo = static_cast<BITMAP *>(data1[OBJ_TITLE_LOGO].dat);
        const int logo_w = box_x2 - box_x1 + 1, logo_h = logo->h * logo_w / logo->w;
        stretch_sprite(screen, logo, box_x1, grid::pixels - logo_h, logo_w, logo_h);
        return;
    }
    box(hint_y1, hint_y2);
    draw_sprite(screen, static_cast<BITMAP *>(data1[tile_kind_of(hint->codes[0])->palette].dat), label_x,
                hint_y1 + 8);
    textout_ex(screen, text_font, "Uusi ruutu", label_x + 50, hint_y1 + 8, label_ink(), -1);
    textout_ex(screen, text_font, hint->name, label_x + 50, hint_y1 + 28, makecol(160, 30, 20), -1);
    FONT *small = static_cast<FONT *>(data1[OBJ_FONT_TEXT].dat);
    int y = hint_y1 + 54;
    for (const std::string &line : wrapped_lines(small, hint->line, value_x2 - label_x)) {
        if (y + text_height(small) > hint_y2)
            break;
        textout_ex(screen, small, line.c_str(), label_x, y, value_ink(), -1);
        y += text_height(small) + 1;
    }
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

void run_panel::show_best(int time)
{
    best_time = time;
    value(2, time_text(best_time));
}

void run_panel::bubble_offset(float tilt_x, float tilt_y, int &dx, int &dy)
{
    float fx = tilt_x / bead::tilt_limit, fy = tilt_y / bead::tilt_limit;
    // The vial is round: a full tilt on both axes also puts the bubble at the rim, not past it.
    const float len = std::sqrt(fx * fx + fy * fy);
    if (len > 1.0f) {
        fx /= len;
        fy /= len;
    }
    dx = (int)std::lround(fx * bubble_travel);
    dy = (int)std::lround(fy * bubble_travel);
}

void run_panel::draw_name()
{
    box(level_y1, level_y2);
    const std::string label = what == watch ? "Katselu " + std::to_string(speed) + "x" : L1("Kenttä");
    textout_ex(screen, text_font, label.c_str(), label_x, level_y1 + 8, label_ink(), -1);
    textout_ex(screen, text_font, fitted(text_font, name, box_x2 - box_x1 - 24).c_str(), label_x, level_y1 + 28,
               value_ink(), -1);
    if (medal_rank > 0 && what != watch) {
        // The time the next medal asks for, beside its colour.
        textout_right_ex(screen, text_font, time_text(medal_time).c_str(), value_x2, level_y1 + 8, value_ink(), -1);
        medal_disc(screen, medal_rank, value_x2 - text_length(text_font, "0:00,00") - 14, level_y1 + 14);
    }
}

void run_panel::set_medal(int rank, int time)
{
    medal_rank = rank;
    medal_time = time;
}

void run_panel::show_speed(int new_speed)
{
    if (new_speed == speed)
        return;
    speed = new_speed;
    draw_name();
}

void run_panel::draw_vial()
{
    box(level_box_y1, level_box_y2);
    textout_ex(screen, text_font, "Kallistus", label_x, level_box_y1 + 8, label_ink(), -1);
    draw_ghost();
    blit_vial();
}

// Under "Kallistus", left of the vial: "Haamu" and the gap at the last flag both took, as a
// race clock shows it: "+1,25" behind, "-0,40" ahead.
void run_panel::draw_ghost()
{
    const int y = level_box_y1 + 38;
    rectfill(screen, label_x, y, vial_x - ring_r - 4, y + 2 * 20, cream());
    if (!racing)
        return;
    textout_ex(screen, text_font, "Haamu", label_x, y, label_ink(), -1);
    std::string text = "pois";
    int ink = label_ink();
    if (ghost_on && gap_known) {
        const int size = gap < 0 ? -gap : gap;
        text = time_text(size);
        if (size < 6000)
            text = text.substr(text[2] == '0' ? 3 : 2);  // "0:01,25" as "1,25"
        text = (gap < 0 ? "-" : "+") + text;
        ink = gap <= 0 ? makecol(30, 120, 40) : makecol(180, 30, 20);
    } else if (ghost_on) {
        text = "mukana";
    }
    textout_ex(screen, text_font, text.c_str(), label_x, y + 20, ink, -1);
}

void run_panel::show_ghost(bool now_racing, bool on)
{
    if (now_racing == racing && on == ghost_on)
        return;
    const bool keys_change = now_racing != racing;
    racing = now_racing;
    ghost_on = on;
    if (keys_change)
        draw();
    else if (!paused && end_first.empty())
        draw_ghost();
}

void run_panel::show_gap(int hundredths)
{
    gap_known = true;
    gap = hundredths;
    if (!paused && end_first.empty())
        draw_ghost();
}

void run_panel::show_end(const std::string &first, const std::string &second)
{
    end_first = first;
    end_second = second;
    box(pause_y1, pause_y2);
    const int mid = (box_x1 + box_x2) / 2;
    textout_centre_ex(screen, text_font, first.c_str(), mid, pause_y1 + 12, makecol(160, 30, 20), -1);
    textout_centre_ex(screen, text_font, second.c_str(), mid, pause_y1 + 36, value_ink(), -1);
    textout_centre_ex(screen, text_font, "Esc palaa", mid, pause_y1 + 64, label_ink(), -1);
}

void run_panel::blit_vial()
{
    blit(vial_face, vial_work, 0, 0, 0, 0, vial_size, vial_size);
    draw_bubble(vial_work, ring_r + bubble_dx, ring_r + bubble_dy);
    blit(vial_work, screen, 0, 0, vial_x - ring_r, vial_y - ring_r, vial_size, vial_size);
}

void run_panel::show_tilt(float tilt_x, float tilt_y)
{
    int dx, dy;
    bubble_offset(tilt_x, tilt_y, dx, dy);
    if (dx == bubble_dx && dy == bubble_dy)
        return;
    bubble_dx = dx;
    bubble_dy = dy;
    if (!paused)
        blit_vial();
}

void run_panel::show_pause(bool now_paused)
{
    paused = now_paused;
    if (!paused) {
        rectfill(screen, box_x1 - 6, pause_y1 - 6, box_x2 + 6, pause_y2 + 6, 0);
        draw_vial();
        return;
    }
    box(pause_y1, pause_y2);
    const int mid = (box_x1 + box_x2) / 2;
    textout_centre_ex(screen, text_font, "Tauko", mid, pause_y1 + 26, makecol(160, 30, 20), -1);
    textout_centre_ex(screen, text_font, what == watch ? "P jatkaa katselua" : L1("P jatkaa peliä"), mid, pause_y1 + 48,
                      label_ink(), -1);
}
