#pragma once
#include <string>

// "Avaa": the sets of levels as pages, each level a small picture of its board with its name,
// its best time and its medal, the locked ones shown locked. The mouse, the arrow keys with
// Return and Esc (Page Up and Page Down turn the page) and a gamepad (stick, first button to
// choose, second to go back) move through it.
struct level_choice {
    enum kind { cancelled, level, other_file } what = cancelled;
    std::string path;  // the level chosen
};
level_choice level_select(const std::string &current);
