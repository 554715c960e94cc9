#pragma once
#include <string>

// The level choosers: open returns the chosen path (or current when cancelled);
// save leaves the chosen path in a 600-character buffer, or an empty string when cancelled.
std::string load_field_file(std::string current);
void set_save_file_name(std::string current, char *path);
