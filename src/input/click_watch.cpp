#include "input/click_watch.h"

#include <allegro.h>

#include <atomic>

namespace {

std::atomic<int> down_x{0}, down_y{0}, up_x{0}, up_y{0};
std::atomic<bool> released{false};
void (*earlier_callback)(int) = nullptr;

// Called from the library's input thread.
void note_click(int flags)
{
    if (flags & MOUSE_FLAG_LEFT_DOWN) {
        down_x = gui_mouse_x();
        down_y = gui_mouse_y();
    }
    if (flags & MOUSE_FLAG_LEFT_UP) {
        up_x = gui_mouse_x();
        up_y = gui_mouse_y();
        released = true;
    }
    if (earlier_callback)
        earlier_callback(flags);
}

}  // namespace

click_watch::click_watch()
{
    released = false;
    earlier_callback = mouse_callback;
    mouse_callback = note_click;
}

click_watch::~click_watch()
{
    mouse_callback = earlier_callback;
}

bool click_watch::take(int &dx, int &dy, int &ux, int &uy)
{
    if (!released.exchange(false))
        return false;
    dx = down_x;
    dy = down_y;
    ux = up_x;
    uy = up_y;
    return true;
}
