#include "field/file_select.h"

#include <allegro.h>

#include <algorithm>
#include <cstring>

namespace {
const int path_buffer_size = 600;
const int path_limit = 599;  // what the selector may fill, terminator included
}  // namespace

std::string load_field_file(std::string current)
{
    char path[path_buffer_size] = "standardfile.vkl";
    if (file_select_ex("Valitse labyrintti", path, "vkl", path_limit, 500, 400) == 0)
        return current;
    path[path_limit] = 0;
    // An accepted empty name names no level: treat it like a cancel.
    if (path[0] == 0)
        return current;
    return path;
}

void set_save_file_name(std::string current, char *path)
{
    // The name may come from the configuration file, so it can be longer than the buffer.
    size_t n = std::min(std::strlen(current.c_str()), static_cast<size_t>(path_limit - 1));
    std::memcpy(path, current.c_str(), n);
    path[n] = 0;
    if (file_select_ex("Tallenna kenttä", path, "vkl", path_limit, 400, 300) == 0)
        path[0] = 0;
    path[path_limit] = 0;
}
