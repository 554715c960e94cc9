#pragma once

// A pixel of a data-file picture, placed on the screen where the picture is drawn.
struct Pixel {
    int x, y, colour;
};

// The brightest pixel of picture `object` that draw_sprite does not skip, as seen on the screen
// when the picture's top-left corner is at (left, top).
Pixel brightest_opaque(int object, int left, int top);
