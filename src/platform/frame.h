#pragma once
#include <allegro.h>

#include <string>
#include <vector>

// The game's way of drawing its panels: a bevelled frame, keys as keycaps, text broken into
// lines.

// A five-pixel bevelled ridge just outside the rectangle (x1, y1)-(x2, y2), lit from the upper left.
void Frame(BITMAP *bmp, int x1, int y1, int x2, int y2, int color);
// A key drawn as a small grey keycap `w` pixels wide with its label, lit from the upper left
// like the frames.
void keycap(BITMAP *bmp, FONT *f, int x, int y, int w, const char *label);
// `text` broken at spaces into lines no wider than `width` pixels; a word wider than a line
// stands alone on its line.
std::vector<std::string> wrapped_lines(FONT *f, const std::string &text, int width);

// A medal as a small disc centred on (x, y): rank 1 gold, 2 silver, 3 bronze; nothing for 0.
void medal_disc(BITMAP *bmp, int rank, int x, int y);
