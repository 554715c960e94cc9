#pragma once

// The arrow keys' part of the board's tilt, in the units of the mouse's scaled tilt sum (the
// board's limit is 200 each way). The mouse's rule, a tilt held until moved back, does not suit
// keys: while a key is held its tilt grows steadily towards the limit, and when it is let go the
// tilt eases back to level by itself.
class key_tilt {
public:
    static constexpr float limit = 200.0f;
    // Per frame while held: full tilt after 40 frames (0.4 s); a tap of a frame or two nudges.
    static constexpr float growth = 5.0f;
    // Per frame once released (and while the opposite key steers against it): back to a tenth
    // in about 18 frames, level within 0.4 s.
    static constexpr float easing = 0.88f;

    float x = 0.0f;
    float y = 0.0f;

    // One frame: each direction is -1, 0 or 1 (left/up, none, right/down).
    void step(int dir_x, int dir_y);
    void level() { x = y = 0.0f; }

    static float axis_step(float tilt, int dir);
};

// -1 while only the first key is down, 1 while only the second is, else 0.
int key_direction(int minus_key, int plus_key);
