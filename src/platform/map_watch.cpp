#include "platform/map_watch.h"

#include <allegro.h>
#include <xalleg.h>
#include <X11/Xutil.h>

#include <chrono>

namespace {

// The library fixes the window's size in its hints just before it asks for the window to be
// shown; before that (a slow start) the window is not the watch's to show.
bool asked_and_unseen(Display *d, Window w)
{
    XWindowAttributes seen;
    XSizeHints hints;
    long supplied = 0;
    return XGetWindowAttributes(d, w, &seen) && seen.map_state == IsUnmapped &&
           XGetWMNormalHints(d, w, &hints, &supplied) && (hints.flags & PMaxSize);
}

}  // namespace

map_watch::map_watch()
{
    if (_xwin.display && _xwin.wm_window)
        thread = std::thread(&map_watch::watch, this, _xwin.wm_window, std::string(DisplayString(_xwin.display)));
}

map_watch::~map_watch()
{
    {
        const std::lock_guard<std::mutex> hold(lock);
        done = true;
    }
    stop.notify_all();
    if (thread.joinable())
        thread.join();
}

void map_watch::watch(unsigned long window, const std::string &display_name)
{
    Display *d = nullptr;  // opened only when a window is slow to show: most starts never need it
    std::unique_lock<std::mutex> hold(lock);
    while (!stop.wait_for(hold, std::chrono::seconds(1), [this] { return done; })) {
        hold.unlock();
        if (!d)
            d = XOpenDisplay(display_name.c_str());
        if (d && asked_and_unseen(d, window)) {
            XMapWindow(d, window);
            XFlush(d);
        }
        hold.lock();
        if (!d)
            break;
    }
    hold.unlock();
    if (d)
        XCloseDisplay(d);
}
