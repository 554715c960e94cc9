#include "shell/title.h"

#include <allegro.h>

#include "shell/data1.h"
#include "shell/globals.h"

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
    // Each step blends the picture once more over itself, so it fades in; a click skips the rest.
    for (const Part &p : parts) {
        BITMAP *picture = static_cast<BITMAP *>(data1[p.object].dat);
        for (int alpha = 0; alpha < 100 && !mouse_b; ++alpha) {
            set_trans_blender(0, 0, 0, alpha);
            rest(1);
            draw_trans_sprite(screen, picture, p.x, p.y);
        }
        draw_sprite(screen, picture, p.x, p.y);
    }

    install_int(my_timer, 10);
    teh_counter = 500;
    while (teh_counter > 0 && !mouse_b)
        wait_tick();
    while (mouse_b)
        wait_tick();
    // Each run installs the tick again; meanwhile the timer thread need not wake 100 times a
    // second for nobody.
    remove_int(my_timer);
    clear_to_color(screen, 0);
}
