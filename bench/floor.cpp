// The floor of `make perf`: a window of the game's size with the game's drivers installed, whose
// main thread only sleeps. What it costs is the library's own X11 and timer threads, which the
// game cannot go below.
// usage: vinkla_floor [WIDTH HEIGHT [SLACK_NS]]   (800 600; 1600 1200 is the game's window at
// twice the size). SLACK_NS starts the library's threads with that timer slack, as the game
// starts its X11 thread.
#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "platform/timer_slack.h"

int main(int argc, char **argv)
{
    int w = 800, h = 600;
    unsigned long slack = 0;
    if (argc >= 3) {
        w = std::atoi(argv[1]);
        h = std::atoi(argv[2]);
    }
    if (argc == 4)
        slack = std::strtoul(argv[3], nullptr, 10);
    if (argc == 2 || argc > 4 || w < 1 || h < 1 || w > 8000 || h > 8000) {
        std::fprintf(stderr, "usage: %s [WIDTH HEIGHT [SLACK_NS]]\n", argv[0]);
        return 2;
    }
    set_uformat(U_ASCII);
    // A slack of 0 is the kernel's default: the library starts as it would by itself.
    if (with_inherited_timer_slack(slack, [] { return allegro_init(); }) != 0) {
        std::fprintf(stderr, "vinkla_floor: cannot start Allegro: %s\n", allegro_error);
        return 1;
    }
    set_color_depth(32);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, w, h, 0, 0) != 0) {
        std::fprintf(stderr, "vinkla_floor: cannot open the window: %s\n", allegro_error);
        return 1;
    }
    set_window_title("vinkla floor");
    install_keyboard();
    install_mouse();
    install_timer();
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) != 0)
        install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
    for (;;)
        pause();  // until the measuring script ends it
}
