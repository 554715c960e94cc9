#include "input/raw_motion.h"

#include <allegro.h>
#include <xalleg.h>
#include <X11/extensions/XInput2.h>

#include <cmath>
#include <map>

bool raw_axes(const unsigned char *mask, int mask_len, const double *values, double &x, double &y)
{
    x = y = 0.0;
    if (!mask || mask_len < 1 || !values)
        return false;
    // The values are packed: x is the first one when bit 0 is set, y follows it.
    const bool has_x = mask[0] & 1, has_y = mask[0] & 2;
    if (has_x)
        x = values[0];
    if (has_y)
        y = values[has_x ? 1 : 0];
    return has_x || has_y;
}

namespace {

// Far beyond any tilt, and within an int.
constexpr double sum_limit = 1e9;

double clamp_sum(double v)
{
    return v > sum_limit ? sum_limit : v < -sum_limit ? -sum_limit : v;
}

}  // namespace

void raw_sum::add(double x, double y, bool relative)
{
    if (!relative) {
        placed_ = true;
        return;
    }
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    x_ = clamp_sum(x_ + x);
    y_ = clamp_sum(y_ + y);
}

bool raw_sum::take(int &dx, int &dy)
{
    if (placed_) {
        clear();
        return false;
    }
    const double whole_x = std::trunc(x_), whole_y = std::trunc(y_);
    x_ -= whole_x;
    y_ -= whole_y;
    dx = static_cast<int>(whole_x);
    dy = static_cast<int>(whole_y);
    return true;
}

void raw_sum::clear()
{
    x_ = y_ = 0.0;
    placed_ = false;
}

// The library's thread reads every event of its own connection and drops the ones it does not
// know, so raw motion selected there would never reach the game; hooking its reading has no
// interface. A second connection belongs to the main thread alone: no lock to share with the
// library, and reading only what has already arrived never waits.
namespace {

Display *raw_display = nullptr;
int xi_opcode = 0;
bool tried = false;
bool counting = false;
raw_sum counted;
// Pointer devices by id: true when both x and y are relative axes.
std::map<int, bool> relative_device;
bool any_absolute = false;
bool devices_read_again = false;

void read_devices()
{
    relative_device.clear();
    any_absolute = false;
    int n = 0;
    XIDeviceInfo *info = XIQueryDevice(raw_display, XIAllDevices, &n);
    for (int i = 0; info && i < n; i++) {
        int relative_axes = 0, axes = 0;
        for (int c = 0; c < info[i].num_classes; c++) {
            if (info[i].classes[c]->type != XIValuatorClass)
                continue;
            const XIValuatorClassInfo *v = reinterpret_cast<const XIValuatorClassInfo *>(info[i].classes[c]);
            if (v->number == 0 || v->number == 1) {
                axes++;
                relative_axes += v->mode == XIModeRelative;
            }
        }
        if (axes == 0)
            continue;
        relative_device[info[i].deviceid] = relative_axes == axes;
        any_absolute = any_absolute || relative_axes != axes;
    }
    if (info)
        XIFreeDeviceInfo(info);
}

// A device plugged in since counting began is looked up once more; one still unknown (an old
// server names no source) counts as relative unless some pointer device has absolute axes.
bool is_relative(int id)
{
    auto known = relative_device.find(id);
    if (known == relative_device.end() && !devices_read_again) {
        devices_read_again = true;
        read_devices();
        known = relative_device.find(id);
    }
    return known != relative_device.end() ? known->second : !any_absolute;
}

bool open_reading()
{
    if (tried)
        return raw_display;
    tried = true;
    if (!_xwin.display)
        return false;
    Display *d = XOpenDisplay(DisplayString(_xwin.display));
    if (!d)
        return false;
    // From 2.1 on raw events reach every client that asks, also while the pointer is grabbed
    // (the game holds it in its window on the library's connection).
    int event = 0, error = 0, major = 2, minor = 2;
    if (!XQueryExtension(d, "XInputExtension", &xi_opcode, &event, &error) ||
        XIQueryVersion(d, &major, &minor) != Success || major < 2 || (major == 2 && minor < 1)) {
        XCloseDisplay(d);
        return false;
    }
    raw_display = d;
    return true;
}

void select_raw_motion(bool on)
{
    unsigned char bits[XIMaskLen(XI_RawMotion)] = {};
    if (on)
        XISetMask(bits, XI_RawMotion);
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof bits;
    mask.mask = bits;
    XISelectEvents(raw_display, DefaultRootWindow(raw_display), &mask, 1);
}

void read_events()
{
    // XPending reads what has arrived and never waits. Bounded: what is left counts next time.
    for (int i = 0; i < 65536 && XPending(raw_display) > 0; i++) {
        XEvent event;
        XNextEvent(raw_display, &event);
        XGenericEventCookie *cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != xi_opcode || !XGetEventData(raw_display, cookie))
            continue;
        if (cookie->evtype == XI_RawMotion) {
            const XIRawEvent *raw = static_cast<const XIRawEvent *>(cookie->data);
            double x, y;
            if (raw_axes(raw->valuators.mask, raw->valuators.mask_len, raw->raw_values, x, y))
                counted.add(x, y, is_relative(raw->sourceid));
        }
        XFreeEventData(raw_display, cookie);
    }
}

}  // namespace

bool raw_motion_begin()
{
    if (!open_reading())
        return false;
    if (!counting) {
        read_devices();
        devices_read_again = false;
        counted.clear();
        select_raw_motion(true);
        XFlush(raw_display);
        counting = true;
    }
    return true;
}

void raw_motion_end()
{
    if (!raw_display || !counting)
        return;
    counting = false;
    select_raw_motion(false);
    // Every event sent before the server took the request is in by now, and thrown away.
    XSync(raw_display, True);
    counted.clear();
}

bool raw_motion_take(int &dx, int &dy)
{
    if (!raw_display || !counting)
        return false;
    read_events();
    return counted.take(dx, dy);
}
