#pragma once
#include <cstring>

// The board's tilt in one frame, as the rules take it: mouse, keys and stick summed and clamped.
struct run_tilt {
    float x = 0.0f;
    float y = 0.0f;
    // By their bits: the rules must see the very same floats.
    bool operator==(const run_tilt &o) const
    {
        return std::memcmp(&x, &o.x, sizeof x) == 0 && std::memcmp(&y, &o.y, sizeof y) == 0;
    }
};
