#pragma once

// The mouse's relative motion as the X server's input devices report it (XInput 2 raw motion):
// every count the mouse sent, before the desktop's pointer acceleration, wherever the pointer
// is. The library's reading (get_mouse_mickeys) keeps its pointer in the window by warping it
// back to the centre, and drops every motion that arrives while a warp is under way: a fast
// hand lost half its counts that way.

// One raw event's values of axes 0 and 1 (x and y): `values` holds one value for each bit set
// in `mask` (mask_len bytes), in the bits' order. An axis the event does not carry is 0. False
// when it carries neither (a wheel's axes alone).
bool raw_axes(const unsigned char *mask, int mask_len, const double *values, double &x, double &y);

// Raw motion summed exactly: whole counts are handed out, a fraction (a driver that scales the
// counts gives them) is kept for the next. A device with absolute axes (a tablet, a touch
// screen, a virtual machine's pointer) reports places, not motion: a stretch in which one moved
// has no sum, and the library's reading stands in for it.
class raw_sum {
public:
    void add(double x, double y, bool relative);
    // The whole counts since the last take (or clear); false, and nothing taken, when a device
    // with absolute axes moved meanwhile.
    bool take(int &dx, int &dy);
    void clear();

private:
    double x_ = 0.0;
    double y_ = 0.0;
    bool placed_ = false;
};

// The reading runs on an X connection of its own, used by the main thread alone.

// Counting starts: motion from now on is summed. False, and nothing counted, where the game has
// no X display, the server has no XInput 2.1 or the connection cannot be made (tried once).
bool raw_motion_begin();
// Counting stops; what was not taken is dropped.
void raw_motion_end();
// The counts since counting began or the last take, without waiting. False while nothing is
// counted, or when the stretch needs the library's reading (see raw_sum).
bool raw_motion_take(int &dx, int &dy);
