#include "input/key_tilt.h"

#include <allegro.h>

#include <cmath>

float key_tilt::axis_step(float tilt, int dir)
{
    // Easing back, or steering against the tilt: a key held the other way levels the board as
    // fast as letting go does, on top of its own growth.
    if (dir == 0 || tilt * dir < 0) {
        tilt *= easing;
        if (std::fabs(tilt) < 1.0f)
            tilt = 0.0f;
    }
    tilt += growth * dir;
    if (tilt > limit)
        return limit;
    if (tilt < -limit)
        return -limit;
    return tilt;
}

void key_tilt::step(int dir_x, int dir_y)
{
    x = axis_step(x, dir_x);
    y = axis_step(y, dir_y);
}

int key_direction(int minus_key, int plus_key)
{
    return (key[plus_key] ? 1 : 0) - (key[minus_key] ? 1 : 0);
}
