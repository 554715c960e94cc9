#pragma once
#include <string>

// The level after `path` among the level files (".vkl") of its folder, in name order, the
// first one after the last; `path` itself when its folder holds no other level.
std::string next_level_file(const std::string &path);

// The name a player knows a level by: the file name without its folder and its ".vkl", in the
// Latin-1 the game draws (the menu's line, the run's panel).
std::string level_title(const std::string &path);
