#pragma once
#include <allegro.h>
#include <string>

extern BITMAP *switch_pointer;  // the last chosen tool's picture, the pointer over the board
extern BITMAP *mysha;           // the pointer in use when the editor started

std::string editor(std::string current);
void draw_myfield(BITMAP *bmp, char *board);
int d_my_bitmap_proc(int msg, DIALOG *d, int c);
