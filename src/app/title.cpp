#include "app/title.h"

#include <allegro.h>

#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/screen_scaler.h"
#include "platform/session_end.h"

namespace {

// A click or a key ends the title; so does the close button, which presses Esc, and the end of
// the session.
bool skipped()
{
    return mouse_b || keypressed() || end_signal;
}

bool any_key_down()
{
    for (int k = 1; k < KEY_MAX; ++k)
        if (key[k])
            return true;
    return false;
}

}  // namespace

void start_bild()
{
    struct Part {
        int object, x, y;
    };
    static const Part parts[] = {
        {OBJ_TITLE_LOGO, 235, 150},
        {OBJ_TITLE_2, 195, 240},
        {OBJ_TITLE_3, 235, 300},
    };

    clear_to_color(screen, 0);
    // Each step blends the picture once more over itself, so it fades in; a click or a key
    // skips the rest.
    for (const Part &p : parts) {
        BITMAP *picture = static_cast<BITMAP *>(data1[p.object].dat);
        for (int alpha = 0; alpha < 100 && !skipped(); ++alpha) {
            set_trans_blender(0, 0, 0, alpha);
            rest(1);
            draw_trans_sprite(screen, picture, p.x, p.y);
            present_screen();
        }
        draw_sprite(screen, picture, p.x, p.y);
    }

    teh_counter = 500;
    while (teh_counter > 0 && !skipped())
        wait_tick();
    // Nothing pressed here may act in the menu: a Return would start a run by itself. A session
    // ending meanwhile does not wait for the hand to let go.
    while ((mouse_b || any_key_down()) && !end_signal)
        wait_tick();
    clear_keybuf();
    clear_to_color(screen, 0);
}
