#include "menu/solve_box.h"

#include <allegro.h>

#include "field/field.h"
#include "platform/data1.h"
#include "platform/frame.h"
#include "platform/globals.h"
#include "platform/screen_scaler.h"
#include "platform/session_end.h"
#include "platform/text_encoding.h"
#include "records/run_replay.h"
#include "records/run_time.h"
#include "solver/level_solver.h"

namespace {

const int box_x1 = 200, box_y1 = 230, box_x2 = 599, box_y2 = 359;
const int bar_x1 = box_x1 + 24, bar_y1 = box_y1 + 52, bar_x2 = box_x2 - 24, bar_y2 = bar_y1 + 18;
const int stop_x1 = 340, stop_y1 = box_y2 - 42, stop_x2 = 459, stop_y2 = box_y2 - 14;

// What the box and its frame's ridge cover, kept to be put back: no object of the editor's
// dialog lies in the gap between the board and the palette, so its redraw would leave a strip
// of the box there.
const int ridge = 5;  // Frame's, outside the box
const int under_x = box_x1 - ridge, under_y = box_y1 - ridge;

BITMAP *keep_under_box()
{
    BITMAP *under = create_bitmap(box_x2 - box_x1 + 1 + 2 * ridge, box_y2 - box_y1 + 1 + 2 * ridge);
    if (under) {
        scare_mouse_area(under_x, under_y, under->w, under->h);
        blit(screen, under, under_x, under_y, 0, 0, under->w, under->h);
        unscare_mouse();
    }
    return under;
}

void put_back_under_box(BITMAP *under)
{
    if (!under)
        return;
    scare_mouse_area(under_x, under_y, under->w, under->h);
    blit(under, screen, 0, 0, under_x, under_y, under->w, under->h);
    unscare_mouse();
    destroy_bitmap(under);
}

void draw_box(bool hand)
{
    FONT *f = static_cast<FONT *>(data1[OBJ_FONT_MENU].dat);
    scare_mouse();
    rectfill(screen, box_x1, box_y1, box_x2, box_y2, makecol(255, 238, 221));
    Frame(screen, box_x1, box_y1, box_x2, box_y2, makecol(32, 8, 4));
    textout_centre_ex(screen, f, hand ? L1("Käden malli kokeilee kenttää...") : L1("Ratkaisija kokeilee kenttää..."),
                      (box_x1 + box_x2) / 2, box_y1 + 18, makecol(120, 72, 40), -1);
    rect(screen, bar_x1 - 1, bar_y1 - 1, bar_x2 + 1, bar_y2 + 1, makecol(120, 72, 40));
    rectfill(screen, bar_x1, bar_y1, bar_x2, bar_y2, makecol(250, 228, 206));
    rectfill(screen, stop_x1, stop_y1, stop_x2, stop_y2, makecol(0xaa, 0xaa, 0xaa));
    rect(screen, stop_x1, stop_y1, stop_x2, stop_y2, makecol(0, 0, 0));
    textout_centre_ex(screen, f, L1("Keskeytä (Esc)"), (stop_x1 + stop_x2) / 2, stop_y1 + 8, makecol(0, 0, 0), -1);
    unscare_mouse();
}

}  // namespace

board_verdict solve_for_maker(const std::string &level_text, bool hand)
{
    board_verdict v;
    BITMAP *under = keep_under_box();
    draw_box(hand);
    clear_keybuf();
    int shown = -1;
    bool stop = false;
    auto progress = [&](float share) {
        // The bar grows a pixel at a time; the input is read on every call.
        const int width = static_cast<int>(share * (bar_x2 - bar_x1));
        if (width != shown) {
            scare_mouse_area(bar_x1, bar_y1, bar_x2 - bar_x1 + 1, bar_y2 - bar_y1 + 1);
            rectfill(screen, bar_x1, bar_y1, bar_x1 + width, bar_y2, makecol(150, 178, 72));
            unscare_mouse();
            shown = width;
        }
        present_screen();
        while (keypressed())
            stop = (readkey() >> 8) == KEY_ESC || stop;
        if (mouse_b & 1) {
            const int x = gui_mouse_x(), y = gui_mouse_y();
            stop = stop || (x >= stop_x1 && x <= stop_x2 && y >= stop_y1 && y <= stop_y2);
        }
        stop = stop || close_requested || end_signal;
        return !stop;
    };
    solve_settings opt;
    opt.hand = hand;
    std::string why;
    run_record run;
    if (solve_text(level_text, opt, {}, run, why, progress)) {
        const replay_result r = replay_run(field::from_text(level_text), run);
        v.what = board_verdict::won;
        v.time = static_cast<int>(r.time());
        v.run = run;
    } else {
        v.what = stop ? board_verdict::stopped : board_verdict::not_solved;
    }
    put_back_under_box(under);
    clear_keybuf();
    return v;
}

std::string verdict_text(const board_verdict &v)
{
    switch (v.what) {
    case board_verdict::won:
        return "ratkaistu " + time_text(v.time);
    case board_verdict::not_solved:
        return "ei ratkennut";
    default:
        return "";
    }
}
