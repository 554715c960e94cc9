#pragma once

void settings();
int slider_callback(void *which, int value);

// The sensitivity slider's position (0 to 18, steps of 0.1 from 0.2) nearest to a sensitivity.
int sensitivity_position(float sensitivity);
