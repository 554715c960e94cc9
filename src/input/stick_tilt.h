#pragma once

// A gamepad's first analogue stick tilts the board directly: its position is the tilt (centre
// level, full deflection the board's limit of 200 each way), with a small dead zone round the
// centre so that a stick resting a little off centre keeps the board level.
struct stick_tilt {
    float x = 0.0f;
    float y = 0.0f;
    bool level = false;  // the first button, which levels the board
};

constexpr int stick_full = 127;      // full deflection; the Linux driver gives -127..127
constexpr int stick_dead_zone = 16;  // an eighth of the way out

// One axis position to a tilt.
float stick_axis_tilt(int pos);

// Reads the first joystick's first analogue stick and first button; (0, 0) without one.
stick_tilt read_stick();
