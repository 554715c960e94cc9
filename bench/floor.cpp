// The floor of `make perf`: a window of the game's size with the game's drivers installed, whose
// main thread only sleeps. What it costs is the library's own X11 and timer threads, which the
// game cannot go below.
#include <allegro.h>

#include <cstdio>
#include <unistd.h>

int main()
{
    set_uformat(U_ASCII);
    if (allegro_init() != 0) {
        std::fprintf(stderr, "vinkla_floor: cannot start Allegro: %s\n", allegro_error);
        return 1;
    }
    set_color_depth(32);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 800, 600, 0, 0) != 0) {
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
