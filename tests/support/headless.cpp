#include "support/headless.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/globals.h"

bool start_headless(const std::string &config, const char *datafile)
{
    set_uformat(U_ASCII);
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "install_allegro failed\n");
        return false;
    }
    set_color_depth(32);
    screen = create_bitmap(800, 600);
    set_config_file(config.c_str());
    data1 = load_datafile(datafile);
    if (!data1) {
        std::fprintf(stderr, "cannot load %s\n", datafile);
        return false;
    }
    return true;
}
