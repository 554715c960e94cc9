#include "input/stick_tilt.h"

#include <allegro.h>

#include <cstdlib>

float stick_axis_tilt(int pos)
{
    int mag = std::abs(pos);
    if (mag <= stick_dead_zone)
        return 0.0f;
    if (mag > stick_full)
        mag = stick_full;
    // The tilt starts from 0 at the dead zone's edge, so there is no jump when the stick leaves it.
    float t = 200.0f * (mag - stick_dead_zone) / (stick_full - stick_dead_zone);
    return pos < 0 ? -t : t;
}

stick_tilt read_stick()
{
    stick_tilt out;
    if (num_joysticks < 1)
        return out;
    if (poll_joystick() != 0)
        return out;
    const JOYSTICK_INFO &pad = joy[0];
    out.level = pad.num_buttons > 0 && pad.button[0].b;
    // A pad's hat or d-pad can come first as a digital stick: the first analogue one steers.
    for (int s = 0; s < pad.num_sticks && s < MAX_JOYSTICK_STICKS; s++) {
        const JOYSTICK_STICK_INFO &stick = pad.stick[s];
        if (!(stick.flags & JOYFLAG_ANALOGUE) || stick.num_axis < 2)
            continue;
        out.x = stick_axis_tilt(stick.axis[0].pos);
        out.y = stick_axis_tilt(stick.axis[1].pos);
        break;
    }
    return out;
}
