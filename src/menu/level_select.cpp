#include "menu/level_select.h"

#include <allegro.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "field/level_file.h"
#include "field/tile_kind.h"
#include "input/click_watch.h"
#include "platform/data1.h"
#include "platform/frame.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "platform/session_end.h"
#include "platform/text_encoding.h"
#include "records/campaign.h"
#include "records/run_time.h"

namespace {

const int columns = 4, rows = 3, per_page = columns * rows;
const int card_w = 184, card_h = 158, grid_x = 22, grid_y = 62, gap_x = 8, gap_y = 6;
const int thumb_cell = 7, thumb = thumb_cell * grid::cells;  // 98 pixels
const int footer_y = 556;
// The two buttons under the cards are places of the selection too, after the last card.
const int other_button = per_page, back_button = per_page + 1;

int cream() { return makecol(255, 238, 221); }
int brown() { return makecol(120, 72, 40); }
int ink() { return makecol(0, 0, 0); }

struct page {
    size_t set;
    size_t first;  // the first level of the set on it
};

struct select_state {
    std::vector<campaign_set> sets;
    std::vector<page> pages;
    size_t at = 0;  // the page shown
    int selected = 0;
    std::string note;
};

using bitmap_ptr = std::unique_ptr<BITMAP, void (*)(BITMAP *)>;

// The board drawn small from the tile table: each cell's pictures shrunk to seven pixels.
bitmap_ptr thumbnail(const std::string &path)
{
    bitmap_ptr b(create_bitmap(thumb, thumb), destroy_bitmap);
    clear_to_color(b.get(), makecol(60, 40, 30));
    std::string text;
    if (!read_level_text(path, text))
        return b;
    BITMAP *floor = static_cast<BITMAP *>(data1[OBJ_FLOOR].dat);
    for (int r = 0; r < grid::cells; r++)
        for (int c = 0; c < grid::cells; c++) {
            const char code = grid::board_code(text.c_str(), text.size(), r, c);
            const tile_kind *kind = tile_kind_of(code);
            const int x = c * thumb_cell, y = r * thumb_cell;
            stretch_blit(floor, b.get(), 0, 0, floor->w, floor->h, x, y, thumb_cell, thumb_cell);
            if (!kind)
                continue;
            for (int obj : {kind->picture, kind->overlay})
                if (obj != no_picture) {
                    BITMAP *p = static_cast<BITMAP *>(data1[obj].dat);
                    masked_stretch_blit(p, b.get(), 0, 0, p->w, p->h, x, y, thumb_cell, thumb_cell);
                }
        }
    return b;
}

void card_place(int i, int &x, int &y)
{
    x = grid_x + (i % columns) * (card_w + gap_x);
    y = grid_y + (i / columns) * (card_h + gap_y);
}

void button_place(int which, int &x, int &y, int &w)
{
    w = 170;
    x = which == other_button ? 400 - w - 10 : 410;
    y = footer_y;
}

// A padlock over a locked level's picture.
void draw_lock(BITMAP *bmp, int cx, int cy)
{
    const int dark = makecol(50, 40, 30), metal = makecol(200, 170, 90);
    circle(bmp, cx, cy - 8, 8, dark);
    circle(bmp, cx, cy - 8, 7, metal);
    circle(bmp, cx, cy - 8, 6, dark);
    rectfill(bmp, cx - 11, cy - 4, cx + 11, cy + 12, dark);
    rectfill(bmp, cx - 10, cy - 3, cx + 10, cy + 11, metal);
    circlefill(bmp, cx, cy + 3, 2, dark);
    vline(bmp, cx, cy + 3, cy + 8, dark);
}

void draw_page(select_state &s, std::vector<bitmap_ptr> &thumbs)
{
    FONT *f = static_cast<FONT *>(data1[OBJ_FONT_MENU].dat);
    FONT *small = static_cast<FONT *>(data1[OBJ_FONT_TEXT].dat);
    BITMAP *bmp = create_bitmap(SCREEN_W, SCREEN_H);
    clear_to_color(bmp, 0);
    const page &p = s.pages[s.at];
    const campaign_set &set = s.sets[p.set];

    // The page's head: the set's name, how far it is won, and the arrows to the others.
    rectfill(bmp, grid_x, 12, SCREEN_W - grid_x - 1, 48, cream());
    Frame(bmp, grid_x, 12, SCREEN_W - grid_x - 1, 48, makecol(32, 8, 4));
    int won = 0;
    for (const campaign_level &l : set.levels)
        won += l.won;
    const std::string head = set.name + "   " + std::to_string(won) + " / " + std::to_string(set.levels.size()) +
                             " voitettu";
    textout_centre_ex(bmp, f, head.c_str(), SCREEN_W / 2, 24, ink(), -1);
    const std::string pages = "Sivu " + std::to_string(s.at + 1) + " / " + std::to_string(s.pages.size());
    textout_ex(bmp, small, pages.c_str(), grid_x + 40, 26, brown(), -1);
    if (s.at > 0)
        textout_ex(bmp, f, "<", grid_x + 12, 24, brown(), -1);
    if (s.at + 1 < s.pages.size())
        textout_right_ex(bmp, f, ">", SCREEN_W - grid_x - 12, 24, brown(), -1);
    // The chosen level's three medal times, right of the name where they fit.
    if (s.selected < per_page && p.first + static_cast<size_t>(s.selected) < set.levels.size()) {
        const medal_times &m = set.levels[p.first + static_cast<size_t>(s.selected)].medals;
        int width = 0;
        for (int i = 0; i < 3; i++)
            width += 20 + text_length(small, time_text(m.limit[i]).c_str()) + (i < 2 ? 8 : 0);
        int x = SCREEN_W - grid_x - 30 - width;
        if (m.limit[0] > 0 && x > SCREEN_W / 2 + text_length(f, head.c_str()) / 2 + 12)
            for (int i = 0; i < 3; i++) {
                medal_disc(bmp, i + 1, x + 8, 30);
                const std::string t = time_text(m.limit[i]);
                textout_ex(bmp, small, t.c_str(), x + 20, 26, ink(), -1);
                x += 20 + text_length(small, t.c_str()) + 8;
            }
    }

    for (int i = 0; i < per_page && p.first + static_cast<size_t>(i) < set.levels.size(); i++) {
        const campaign_level &l = set.levels[p.first + static_cast<size_t>(i)];
        int x, y;
        card_place(i, x, y);
        rectfill(bmp, x, y, x + card_w - 1, y + card_h - 1, l.open ? cream() : makecol(150, 140, 130));
        const int frame = i == s.selected ? makecol(200, 40, 20) : makecol(32, 8, 4);
        rect(bmp, x, y, x + card_w - 1, y + card_h - 1, frame);
        if (i == s.selected)
            rect(bmp, x + 1, y + 1, x + card_w - 2, y + card_h - 2, frame);
        const int tx = x + (card_w - thumb) / 2, ty = y + 8;
        BITMAP *t = thumbs[static_cast<size_t>(i)].get();
        if (l.open) {
            blit(t, bmp, 0, 0, tx, ty, thumb, thumb);
        } else {
            // Greyed, so that the board can still be made out under the lock.
            set_trans_blender(0, 0, 0, 110);
            BITMAP *grey = create_bitmap(thumb, thumb);
            clear_to_color(grey, makecol(90, 86, 82));
            blit(t, bmp, 0, 0, tx, ty, thumb, thumb);
            draw_trans_sprite(bmp, grey, tx, ty);
            destroy_bitmap(grey);
            draw_lock(bmp, tx + thumb / 2, ty + thumb / 2);
        }
        const std::string name = std::to_string(p.first + static_cast<size_t>(i) + 1) + ". " + l.level.title;
        textout_centre_ex(bmp, f, name.c_str(), x + card_w / 2, ty + thumb + 6, ink(), -1);
        std::string line = l.best > 0 ? time_text(l.best) : l.open ? "ei voitettu" : "lukittu";
        textout_centre_ex(bmp, small, line.c_str(), x + card_w / 2, ty + thumb + 26, brown(), -1);
        medal_disc(bmp, l.best_medal, x + card_w - 20, ty + thumb + 31);
    }

    for (int which : {other_button, back_button}) {
        int x, y, w;
        button_place(which, x, y, w);
        rectfill(bmp, x, y, x + w - 1, y + 27, makecol(0xaa, 0xaa, 0xaa));
        rect(bmp, x, y, x + w - 1, y + 27, which == s.selected ? makecol(200, 40, 20) : ink());
        textout_centre_ex(bmp, f, which == other_button ? "Muu tiedosto..." : "Takaisin", x + w / 2, y + 7, ink(),
                          -1);
    }
    if (!s.note.empty())
        textout_centre_ex(bmp, small, s.note.c_str(), SCREEN_W / 2, footer_y - 18, makecol(255, 200, 120), -1);
    scare_mouse();
    blit(bmp, screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
    unscare_mouse();
    destroy_bitmap(bmp);
}

int cards_on(const select_state &s)
{
    const page &p = s.pages[s.at];
    return static_cast<int>(std::min<size_t>(per_page, s.sets[p.set].levels.size() - p.first));
}

// The card or button under the pointer, or -1.
int under_pointer(const select_state &s, int mx, int my)
{
    for (int i = 0; i < cards_on(s); i++) {
        int x, y;
        card_place(i, x, y);
        if (mx >= x && mx < x + card_w && my >= y && my < y + card_h)
            return i;
    }
    for (int which : {other_button, back_button}) {
        int x, y, w;
        button_place(which, x, y, w);
        if (mx >= x && mx < x + w && my >= y && my < y + 28)
            return which;
    }
    return -1;
}

// The gamepad as keys: a push of the stick or a press of a button, once until it is let go.
int pad_key()
{
    static int held = 0;
    if (num_joysticks < 1 || poll_joystick() != 0)
        return 0;
    const JOYSTICK_INFO &j = joy[0];
    int k = 0;
    if (j.num_sticks > 0 && j.stick[0].num_axis >= 2) {
        const JOYSTICK_AXIS_INFO &ax = j.stick[0].axis[0], &ay = j.stick[0].axis[1];
        k = ax.d1 ? KEY_LEFT : ax.d2 ? KEY_RIGHT : ay.d1 ? KEY_UP : ay.d2 ? KEY_DOWN : 0;
    }
    if (j.num_buttons > 0 && j.button[0].b)
        k = KEY_ENTER;
    if (j.num_buttons > 1 && j.button[1].b)
        k = KEY_ESC;
    const int pressed = k != held ? k : 0;
    held = k;
    return pressed;
}

}  // namespace

level_choice level_select(const std::string &current)
{
    select_state s;
    s.sets = campaign();
    for (size_t i = 0; i < s.sets.size(); i++)
        for (size_t first = 0; first < s.sets[i].levels.size(); first += per_page)
            s.pages.push_back({i, first});
    level_choice choice;
    if (s.pages.empty()) {
        choice.what = level_choice::other_file;
        return choice;
    }
    // The page and card of the level played now.
    size_t set_at, level_at;
    if (find_in_campaign(s.sets, current, set_at, level_at))
        for (size_t i = 0; i < s.pages.size(); i++)
            if (s.pages[i].set == set_at && level_at >= s.pages[i].first && level_at < s.pages[i].first + per_page) {
                s.at = i;
                s.selected = static_cast<int>(level_at - s.pages[i].first);
            }

    std::vector<bitmap_ptr> thumbs;
    auto turn_to = [&](size_t page_at) {
        s.at = page_at;
        s.note.clear();
        thumbs.clear();
        const page &p = s.pages[s.at];
        for (int i = 0; i < cards_on(s); i++) {
            campaign_level &l = s.sets[p.set].levels[p.first + static_cast<size_t>(i)];
            find_medals(l);
            thumbs.push_back(thumbnail(l.level.path));
        }
        s.selected = std::min(s.selected, cards_on(s) - 1);
    };
    turn_to(s.at);
    show_mouse(screen);
    clear_keybuf();
    while (mouse_b && !close_requested)
        wait_input(20);
    click_watch clicks;
    draw_page(s, thumbs);

    auto choose = [&](int which) -> bool {
        if (which == back_button)
            return true;
        if (which == other_button) {
            choice.what = level_choice::other_file;
            return true;
        }
        const campaign_level &l = s.sets[s.pages[s.at].set].levels[s.pages[s.at].first + static_cast<size_t>(which)];
        if (!l.open) {
            s.note = L1("Kenttä on lukittu: voita ensin sarjan aiempia kenttiä.");
            return false;
        }
        choice.what = level_choice::level;
        choice.path = l.level.path;
        return true;
    };

    int pointer_over = -1;
    bool done = false;
    while (!done && !close_requested && !end_signal) {
        wait_input(30);
        int k = 0;
        if (keypressed())
            k = readkey() >> 8;
        if (!k)
            k = pad_key();
        const int before = s.selected;
        const size_t page_before = s.at;
        const int cards = cards_on(s);
        if (k == KEY_ESC) {
            done = true;
        } else if (k == KEY_ENTER || k == KEY_ENTER_PAD || k == KEY_SPACE) {
            done = choose(s.selected);
        } else if (k == KEY_PGUP || (k == KEY_LEFT && s.selected < per_page && s.selected % columns == 0)) {
            if (s.at > 0)
                turn_to(s.at - 1);
        } else if (k == KEY_PGDN || (k == KEY_RIGHT && s.selected < per_page &&
                                     (s.selected % columns == columns - 1 || s.selected == cards - 1))) {
            if (s.at + 1 < s.pages.size()) {
                s.selected = 0;
                turn_to(s.at + 1);
            }
        } else if (k == KEY_LEFT) {
            s.selected = s.selected == back_button ? other_button : std::max(0, s.selected - 1);
        } else if (k == KEY_RIGHT) {
            s.selected = s.selected == other_button ? back_button : std::min(cards - 1, s.selected + 1);
        } else if (k == KEY_UP) {
            s.selected = s.selected >= per_page ? std::max(0, cards - 1) : std::max(s.selected % columns,
                                                                                      s.selected - columns);
        } else if (k == KEY_DOWN) {
            s.selected = s.selected >= per_page ? s.selected : s.selected + columns < cards ? s.selected + columns
                                                                                            : other_button;
        }
        // The mouse: a card under the pointer is selected, a click chooses it; the arrows of the
        // head turn the page.
        const int over = under_pointer(s, gui_mouse_x(), gui_mouse_y());
        if (over >= 0 && over != pointer_over)
            s.selected = over;
        pointer_over = over;
        int down_x, down_y, up_x, up_y;
        const bool click = clicks.take(down_x, down_y, up_x, up_y);
        if (click) {
            const int at = under_pointer(s, down_x, down_y);
            if (at >= 0 && under_pointer(s, up_x, up_y) == at)
                done = choose(at);
            else if (down_y >= 12 && down_y <= 48 && down_x < grid_x + 30 && s.at > 0)
                turn_to(s.at - 1);
            else if (down_y >= 12 && down_y <= 48 && down_x > SCREEN_W - grid_x - 30 && s.at + 1 < s.pages.size())
                turn_to(s.at + 1);
        }
        if (!done && (s.selected != before || s.at != page_before || k == KEY_ENTER || click))
            draw_page(s, thumbs);
        else if (!done && !s.note.empty() && k)
            draw_page(s, thumbs);
    }
    show_mouse(nullptr);
    clear_to_color(screen, 0);
    return choice;
}
