#pragma once
#include <string>

// The level file format: reading into a level text, writing one, and the built-in blank level.
extern const char blank_level[197];

int save_file(std::string path, const char *text);
int load_thedata(std::string path, char *text);
