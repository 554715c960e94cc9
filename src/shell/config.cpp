#include "shell/config.h"

#include <allegro.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>

const char *const default_level = "standardfile.vkl";

int config_volume(const char *key)
{
    const char *text = get_config_string("settings", key, nullptr);
    if (!text)
        return default_volume;
    // get_config_int would turn "kova" into 0 and "12abc" into 12: only a whole number counts.
    char *end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 10);
    if (end == text)
        return default_volume;
    while (std::isspace(static_cast<unsigned char>(*end)))
        ++end;
    if (*end != '\0')
        return default_volume;
    if (errno == ERANGE || v > 255)
        return v < 0 ? 0 : 255;
    return v < 0 ? 0 : static_cast<int>(v);
}

std::string config_lastgame()
{
    const char *name = get_config_string("settings", "lastgame", default_level);
    if (!name || !*name)
        return default_level;
    return name;
}
