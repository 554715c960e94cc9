#pragma once

void settings();
int slider_callback(void *which, int value);
