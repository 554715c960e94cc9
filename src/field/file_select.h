#pragma once
#include <string>

// A path as the choosers hand it over: 600 characters of up to four bytes each, since the
// chooser keeps names in UTF-8 as the disk holds them.
const int path_buffer_size = 4 * 600;

// The level choosers: open (levels, and runs shared with their boards) offers current (the standard level when it is empty) and returns
// the chosen path (or current when cancelled);
// save leaves the chosen path in a buffer of path_buffer_size bytes, or an empty string when
// cancelled. Paths come back byte for byte as the file system names them.
std::string load_field_file(std::string current);
// The same, true only when a file was chosen (into `chosen`): a cancel and an accepted empty
// name choose nothing.
bool choose_field_file(const std::string &current, std::string &chosen);
void set_save_file_name(std::string current, char *path);
// The same for a run shared with its board (".vkr"), offering `suggested`.
void set_save_run_name(std::string suggested, char *path);

// A path's last part in the game's Latin-1, short enough for one line of an alert box.
std::string shown_file_name(const std::string &path);
