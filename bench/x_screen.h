#pragma once
// What `make perf`'s X clients share: the monotonic clock in milliseconds, and one pixel of the
// screen as the X server holds it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <ctime>

inline double now_ms()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

inline unsigned long pixel_at(Display *d, int x, int y)
{
    XImage *image = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return 0;
    unsigned long p = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return p;
}
