#pragma once
#include <allegro.h>

// The main menu; returns the button pressed, 1 "Pelaa" .. 6 "Lopeta", or -1 for Esc.
int start_menu();
// A five-pixel bevelled ridge just outside the rectangle (x1, y1)-(x2, y2), lit from the upper left.
void Frame(BITMAP *bmp, int x1, int y1, int x2, int y2, int color);
