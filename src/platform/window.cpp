#include "platform/window.h"

#include <allegro.h>
#include <xalleg.h>
#include <X11/Xatom.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>

#include "platform/globals.h"
#include "platform/text_encoding.h"
#include "window_icon.h"  // drawn at build time by tools/icons.py, like the installed icons

// XESetWireToEvent. Last: the header defines min and max as macros, which the standard
// library's headers above must not see.
#include <X11/Xlibint.h>
#undef min
#undef max

namespace {

// Called from the library's input thread, the same one that feeds the keyboard buffer.
void close_button_pressed()
{
    close_requested = true;
    simulate_keypress((KEY_ESC << 8) | 27);
}

Atom atom(Display *d, const char *name)
{
    return XInternAtom(d, name, False);
}

// _NET_WM_ICON: for each size its width, its height and its pixels, in longs as Xlib passes a
// 32-bit property.
std::vector<long> net_wm_icon()
{
    std::vector<long> out;
    const std::uint32_t *px = window_icon_argb;
    for (int s : window_icon_sizes) {
        out.push_back(s);
        out.push_back(s);
        out.insert(out.end(), px, px + s * s);
        px += s * s;
    }
    return out;
}

// The old-style icon of WM_HINTS, for window managers that read no _NET_WM_ICON: the 48-pixel
// picture as a pixmap of the screen's depth, and its mask. Only on a true-colour screen.
void set_hints_icon(Display *d, Window w)
{
    const int screen = _xwin.screen;
    Visual *visual = DefaultVisual(d, screen);
    if (visual->c_class != TrueColor)
        return;
    const std::uint32_t *px = window_icon_argb;
    int s = 0;
    for (int size : window_icon_sizes) {
        s = size;
        if (size >= 48)
            break;
        px += size * size;
    }
    const Window root = RootWindow(d, screen);
    const int depth = DefaultDepth(d, screen);
    XImage *image = XCreateImage(d, visual, depth, ZPixmap, 0, nullptr, s, s, 32, 0);
    if (!image)
        return;
    image->data = static_cast<char *>(std::calloc(image->bytes_per_line, s));
    if (!image->data) {
        XDestroyImage(image);
        return;
    }
    for (int y = 0; y < s; y++)
        for (int x = 0; x < s; x++)
            XPutPixel(image, x, y, visual_pixel(px[y * s + x], visual->red_mask, visual->green_mask,
                                                visual->blue_mask));
    const Pixmap picture = XCreatePixmap(d, root, s, s, depth);
    GC gc = XCreateGC(d, picture, 0, nullptr);
    XPutImage(d, picture, gc, image, 0, 0, 0, 0, s, s);
    XFreeGC(d, gc);
    XDestroyImage(image);
    std::vector<unsigned char> bits = icon_mask_bits(px, s, s);
    const Pixmap mask =
        XCreateBitmapFromData(d, root, reinterpret_cast<const char *>(bits.data()), s, s);

    XWMHints *hints = XGetWMHints(d, w);
    if (!hints)
        hints = XAllocWMHints();
    if (!hints)
        return;
    hints->flags |= IconPixmapHint | IconMaskHint;
    hints->icon_pixmap = picture;
    hints->icon_mask = mask;
    XSetWMHints(d, w, hints);
    XFree(hints);
}

// What the window manager says of the window's state (_NET_WM_STATE), noted as its
// PropertyNotify comes in. Xlib turns each event from the X server into an XEvent through this
// converter, in whichever thread reads it, mostly the library's own, which then drops the event
// unread: the converter is the one place that sees it, and it costs no round trip.
Atom wm_state = None, wm_fullscreen = None;
Window watched = None;
std::atomic<bool> state_changed{false};
Bool (*library_property_event)(Display *, XEvent *, xEvent *) = nullptr;

Bool note_state_change(Display *d, XEvent *event, xEvent *wire)
{
    const Bool taken = library_property_event(d, event, wire);
    if (taken && event->xproperty.window == watched && event->xproperty.atom == wm_state)
        state_changed = true;
    return taken;
}

// Call under the library's display lock, once the window is made.
void watch_window_state(Display *d, Window w)
{
    wm_state = atom(d, "_NET_WM_STATE");
    wm_fullscreen = atom(d, "_NET_WM_STATE_FULLSCREEN");
    watched = w;
    XWindowAttributes seen;
    if (!XGetWindowAttributes(d, w, &seen))
        return;
    library_property_event = XESetWireToEvent(d, PropertyNotify, note_state_change);
    XSelectInput(d, w, seen.your_event_mask | PropertyChangeMask);
    state_changed = true;  // a window manager may have made it fullscreen from the start
}

// The library fixes the window's size in its hints (which is also why no window manager offers
// to maximise it), and a window manager keeps to them in fullscreen as well: the picture then
// sits in the corner of a black screen. While the window is fullscreen its hints let it grow to
// the screen, so the window manager makes it as large, and the picture stays in its middle.
// The state is asked only when it changed: a question to the X server waits for its answer, and
// every frame would wait so on a server that stopped answering.
void follow_fullscreen(Display *d)
{
    static bool fullscreen = false;
    if (!state_changed.exchange(false) || !_xwin.wm_window || _xwin.window == _xwin.wm_window)
        return;

    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char *data = nullptr;
    bool now_full = false;
    if (XGetWindowProperty(d, _xwin.wm_window, wm_state, 0, 64, False, XA_ATOM, &type, &format,
                           &count, &left, &data) == Success && data) {
        if (type == XA_ATOM && format == 32) {
            const long *atoms = reinterpret_cast<const long *>(data);
            for (unsigned long i = 0; i < count; i++)
                now_full = now_full || static_cast<Atom>(atoms[i]) == wm_fullscreen;
        }
        XFree(data);
    }
    if (now_full == fullscreen)
        return;
    fullscreen = now_full;
    XSizeHints *hints = XAllocSizeHints();
    long supplied = 0;
    if (!hints || !XGetWMNormalHints(d, _xwin.wm_window, hints, &supplied)) {
        XFree(hints);
        return;
    }
    hints->flags |= PMinSize | PMaxSize;
    const int screen_w = DisplayWidth(d, _xwin.screen), screen_h = DisplayHeight(d, _xwin.screen);
    hints->max_width = fullscreen ? std::max(hints->min_width, screen_w) : hints->min_width;
    hints->max_height = fullscreen ? std::max(hints->min_height, screen_h) : hints->min_height;
    XSetWMNormalHints(d, _xwin.wm_window, hints);
    XFree(hints);
}

}  // namespace

void name_window()
{
    xwin_set_window_name("vinkla", "Vinkla");
}

void describe_window()
{
    Display *d = _xwin.display;
    if (!d || !_xwin.wm_window)
        return;
    XLOCK();
    const Window w = _xwin.wm_window;
    // The library keeps the title as Latin-1 bytes.
    const std::string title = well_formed_utf8(_xwin.window_title);
    for (const char *name : {"_NET_WM_NAME", "_NET_WM_ICON_NAME"})
        XChangeProperty(d, w, atom(d, name), atom(d, "UTF8_STRING"), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(title.data()),
                        static_cast<int>(title.size()));

    long pid = getpid();
    XChangeProperty(d, w, atom(d, "_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char *>(&pid), 1);
    char host[256] = "";
    if (gethostname(host, sizeof host - 1) == 0) {
        char *names[] = {host};
        XTextProperty machine;
        if (XStringListToTextProperty(names, 1, &machine)) {
            XSetWMClientMachine(d, w, &machine);
            XFree(machine.value);
        }
    }

    std::vector<long> icon = net_wm_icon();
    XChangeProperty(d, w, atom(d, "_NET_WM_ICON"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char *>(icon.data()), static_cast<int>(icon.size()));
    set_hints_icon(d, w);

    // The library draws into a child of the managed window. A window manager's fullscreen
    // enlarges the managed window only: the child then keeps to its middle, the X server moving
    // it by half of each change of size, and black shows around it.
    if (_xwin.window != w) {
        watch_window_state(d, w);
        XSetWindowAttributes gravity;
        gravity.win_gravity = CenterGravity;
        XChangeWindowAttributes(d, _xwin.window, CWWinGravity, &gravity);
        XSetWindowBackground(d, w, BlackPixel(d, _xwin.screen));
    }
    XFlush(d);
    XUNLOCK();
}

void send_drawing()
{
    if (!_xwin.display)
        return;
    XLOCK();
    follow_fullscreen(_xwin.display);
    XFlush(_xwin.display);
    XUNLOCK();
}

void hold_pointer(bool hold)
{
    static bool held = false;
    static std::chrono::steady_clock::time_point next;
    Display *d = _xwin.display;
    if (!d || !_xwin.window)
        return;
    if (!hold) {
        next = {};
        if (!held)
            return;
        held = false;
        XLOCK();
        XUngrabPointer(d, CurrentTime);
        XFlush(d);
        XUNLOCK();
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (held || now < next)
        return;
    next = now + std::chrono::milliseconds(250);
    XLOCK();
    // The window's own choice of pointer events, which a grab may carry (and no other kind).
    const long pointer_events = ButtonPressMask | ButtonReleaseMask | EnterWindowMask | LeaveWindowMask |
                                PointerMotionMask | ButtonMotionMask;
    long events = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(d, _xwin.window, &attributes))
        events = attributes.your_event_mask & pointer_events;
    held = XGrabPointer(d, _xwin.window, True, static_cast<unsigned int>(events), GrabModeAsync, GrabModeAsync,
                        _xwin.window, None, CurrentTime) == GrabSuccess;
    XUNLOCK();
}

void watch_close_button()
{
    set_close_button_callback(close_button_pressed);
}

std::vector<unsigned char> icon_mask_bits(const std::uint32_t *argb, int w, int h)
{
    const int row_bytes = (w + 7) / 8;
    std::vector<unsigned char> bits(static_cast<size_t>(row_bytes) * h, 0);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            if ((argb[y * w + x] >> 24) >= 128)
                bits[y * row_bytes + x / 8] |= 1u << (x % 8);
    return bits;
}

unsigned long visual_pixel(std::uint32_t argb, unsigned long red_mask, unsigned long green_mask,
                           unsigned long blue_mask)
{
    auto place = [](unsigned long value, unsigned long mask) {
        if (!mask)
            return 0ul;
        int shift = 0, bits = 0;
        while (!((mask >> shift) & 1))
            shift++;
        while ((mask >> (shift + bits)) & 1)
            bits++;
        value = bits >= 8 ? value << (bits - 8) : value >> (8 - bits);
        return (value << shift) & mask;
    };
    return place((argb >> 16) & 0xff, red_mask) | place((argb >> 8) & 0xff, green_mask) |
           place(argb & 0xff, blue_mask);
}
