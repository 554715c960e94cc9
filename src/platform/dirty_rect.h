#pragma once
#include <allegro.h>

// The part of the screen that a frame changed: the union of the rectangles added since it was
// last presented. Whatever changes in play (the marble's block, a panel beside the board) adds
// its rectangle here and reaches the window through present(), the one place that updates it.
class dirty_rect {
public:
    int x1 = 0;  // screen pixels; x2 and y2 exclusive, empty when x1 >= x2 or y1 >= y2
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;

    void add(int x, int y, int w, int h);
    // Keeps only what lies inside the rectangle at (x, y) of size w by h.
    void clip(int x, int y, int w, int h);
    bool empty() const { return x1 >= x2 || y1 >= y2; }
    void clear() { x1 = y1 = x2 = y2 = 0; }
};

// Copies the changed rectangle to the window from `from`, a picture of the screen's pixels whose
// top-left corner lies at (at_x, at_y), and clears it. Nothing is copied when nothing changed.
void present(BITMAP *from, int at_x, int at_y, dirty_rect &changed);
