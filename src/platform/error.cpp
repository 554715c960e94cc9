#include "platform/error.h"

#include <allegro.h>
#include <cstdlib>

void Error::Out(const char *text)
{
    // The old textout drew on an opaque black background (text mode 0); textout_ex says so directly.
    textout_ex(screen, font, text, 5, 5, makecol(255, 255, 255), 0);
    while (!keypressed()) {
    }
    allegro_exit();
    std::exit(0);
}
