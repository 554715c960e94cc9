#pragma once
#include <allegro.h>

#include <string>

#include "platform/frame.h"

namespace main_menu {
// The buttons in the menu's order: "Pelaa", "Avaa", "Editori", "Asetukset", "Info", "Lopeta",
// and under the level's line "Ennätykset".
enum choice { play = 1, open, editor, settings, info, quit, records };
}  // namespace main_menu

// The main menu; returns the main_menu::choice pressed, or -1 for Esc. `line` is shown under
// the buttons (the level "Pelaa" plays).
int start_menu(const std::string &line = "");
