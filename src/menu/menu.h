#pragma once
#include <allegro.h>

#include <string>

namespace main_menu {
// The buttons in the menu's order: "Pelaa", "Avaa", "Editori", "Asetukset", "Info", "Lopeta".
enum choice { play = 1, open, editor, settings, info, quit };
}  // namespace main_menu

// The main menu; returns the main_menu::choice pressed, or -1 for Esc. `line` is shown under
// the buttons (the level "Pelaa" plays).
int start_menu(const std::string &line = "");
// A five-pixel bevelled ridge just outside the rectangle (x1, y1)-(x2, y2), lit from the upper left.
void Frame(BITMAP *bmp, int x1, int y1, int x2, int y2, int color);
