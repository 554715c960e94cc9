#include "platform/window.h"

#include <allegro.h>
#include <xalleg.h>

#include "platform/globals.h"

namespace {

// Called from the library's input thread, the same one that feeds the keyboard buffer.
void close_button_pressed()
{
    close_requested = true;
    simulate_keypress((KEY_ESC << 8) | 27);
}

}  // namespace

void name_window()
{
    xwin_set_window_name("vinkla", "Vinkla");
}

void send_drawing()
{
    if (!_xwin.display)
        return;
    XLOCK();
    XFlush(_xwin.display);
    XUNLOCK();
}

void watch_close_button()
{
    set_close_button_callback(close_button_pressed);
}
