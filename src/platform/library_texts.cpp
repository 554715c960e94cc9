#include "platform/library_texts.h"

#include <allegro.h>

#include <cstring>

namespace {

struct translation {
    const char *english;  // as the library asks: blanks, '=' and '#' written as '_'
    const char *finnish;
};
const translation finnish[] = {
    {"OK", "Ok"},
    {"Cancel", "Peruuta"},
};

const char *finnish_text(const char *name, const char *english)
{
    for (const translation &t : finnish)
        if (std::strcmp(name, t.english) == 0)
            return t.finnish;
    return english;
}

}  // namespace

void use_finnish_library_texts()
{
    // A hook on the [language] section answers before any file is read. (An override of the
    // configuration data would do the same, but it also takes every later write, so vinkla.cfg
    // would lose the volumes and the last level.)
    hook_config_section("language", nullptr, finnish_text, nullptr);
}
