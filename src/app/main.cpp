#include <allegro.h>

#include <cstdio>
#include <string>

#include "app/play_session.h"
#include "app/title.h"
#include "field/file_select.h"
#include "marble/bead.h"
#include "menu/editor.h"
#include "menu/info.h"
#include "menu/level_select.h"
#include "menu/menu.h"
#include "menu/settings.h"
#include "platform/config.h"
#include "platform/data_check.h"
#include "platform/globals.h"
#include "platform/library_texts.h"
#include "platform/map_watch.h"
#include "platform/screen_scaler.h"
#include "platform/session_end.h"
#include "platform/timer_slack.h"
#include "platform/window.h"
#include "records/campaign.h"
#include "records/player_records.h"

namespace {

// The dialog manager polls in a loop of its own and would keep a whole core busy while a
// screen waits for the player. It reads the mouse buttons through this hook once a round, so
// sleeping here sets the pace of every dialog, alert and file selector: a round follows each
// press, release, key and drag at once (the library takes in the X server's events every
// 10 ms), and an idle screen wakes only 20 times a second, for the focus under a still pointer.
// Like every wait, it first presents an enlarged window.
int resting_mouse_b()
{
    wait_input(50);
    return mouse_b;
}

const char *const settings_file = "vinkla.cfg";

// The level Pelaa plays is written as soon as it changes, so no way of ending loses it.
void keep_level(const std::string &current, std::string &kept)
{
    if (current == kept)
        return;
    kept = current;
    config_set_changed("lastgame", current);
    save_settings(settings_file);
}

}  // namespace

int main()
{
    set_uformat(U_ASCII);
    name_window();  // the library creates the window as it starts
    // The library's X11 thread, which allegro_init starts, wakes every millisecond to see
    // whether its 10 ms round (X events in and out, sound mixing) is due: 1,000 wake-ups a
    // second, more than the game itself costs. Started with a timer slack of 4 ms, the kernel
    // lets those wake-ups fall together with others: about a third as many, and a round still
    // follows an event within 15 ms. The main thread keeps its own slack, for exact frames.
    const unsigned long library_thread_slack_ns = 4000000;
    if (with_inherited_timer_slack(library_thread_slack_ns, [] { return allegro_init(); }) != 0) {
        std::fprintf(stderr, "vinkla: cannot start Allegro (no display?) %s\n", allegro_error);
        return 1;
    }
    catch_end_signals();
    catch_lost_display();
    // File names go through the library byte for byte, as the file system holds them.
    set_filename_encoding(U_ASCII);
    config_open(settings_file);
    use_finnish_library_texts();
    set_color_depth(32);
    // On a large desktop the window is a whole multiple of 800 by 600; everything is still
    // drawn at 800 by 600 and enlarged on its way to the window.
    // A scale fixed in the configuration is kept only while the window fits the screen.
    int scale = config_scale();
    int desk_w = 0, desk_h = 0;
    if (get_desktop_resolution(&desk_w, &desk_h) == 0) {
        const int fits = fitting_scale(desk_w, desk_h);
        if (scale > fits)
            std::fprintf(stderr, "vinkla: scale %d does not fit the %dx%d screen; using scale %d\n",
                         scale, desk_w, desk_h, fits);
        if (scale == 0 || scale > fits)
            scale = fits;
    } else if (scale == 0)
        scale = 1;
    bool scaled = false, opened = false;
    {
        const map_watch shown;
        scaled = scale > 1 && set_gfx_mode(GFX_AUTODETECT_WINDOWED, screen_scaler::width * scale,
                                           screen_scaler::height * scale, 0, 0) == 0;
        opened = scaled || set_gfx_mode(GFX_AUTODETECT_WINDOWED, 800, 600, 0, 0) == 0;
    }
    if (scaled)
        start_scaling(scale);
    // Without the window nothing can be shown, not even an alert: say so where a shell sees it.
    if (!opened) {
        std::fprintf(stderr, "vinkla: cannot open an 800x600 window in 32-bit colour: %s\n",
                     allegro_error);
        allegro_exit();
        return 1;
    }
    set_window_title("vinkla 1.0");
    describe_window();
    install_keyboard();
    keyboard_lowlevel_callback = wake_on_key;
    gui_mouse_b = resting_mouse_b;
    watch_close_button();

    // The library's loader crashes on a file cut short: only a whole file is loaded.
    const data1_file state = data1_file_state("data1.dat");
    data1 = state == data1_file::whole ? load_datafile("data1.dat") : nullptr;
    if (!data1 && state != data1_file::damaged) {
        alert("Datatiedosto data1.dat puuttuu", "", "", "Ok", nullptr, 0, 0);
        stop_scaling();
        return 0;
    }
    // A file of the wrong make would crash the first screen that reaches a missing object.
    if (!data1 || !data1_usable(data1)) {
        alert("Datatiedosto data1.dat on vioittunut", "", "", "Ok", nullptr, 0, 0);
        if (data1)
            unload_datafile(data1);
        data1 = nullptr;
        stop_scaling();
        return 0;
    }

    install_mouse();
    mouse_callback = wake_on_mouse;
    install_timer();
    start_scaled_mouse();
    // A gamepad tilts the board when there is one; without one this fails quietly. Only the
    // real driver: autodetection falls back to the library's empty one, and with that installed
    // the mouse lost relative moves during runs (measured: half the tilt end-to-end runs).
#ifdef JOY_TYPE_LINUX_ANALOGUE
    install_joystick(JOY_TYPE_LINUX_ANALOGUE);
#else
    install_joystick(JOY_TYPE_AUTODETECT);
#endif
    // Without a MIDI patch set the full request fails as a whole: keep the sound effects then.
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) != 0)
        install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);

    globalsound = config_volume("sound");
    globalmusic = config_volume("music");
    set_volume(globalsound, globalmusic);

    start_bild();
    open_player_records();

    bead *marble = new bead;
    // A new player starts on the first level of the first set.
    std::string current = config_has_lastgame() ? config_lastgame() : first_level();
    std::string kept = current;
    end_saver keep_settings([&current, &kept] {
        if (current != kept)
            config_set_changed("lastgame", current);
        config_save(settings_file);
        if (player_records.pending())
            player_records.save(records_file);
    });

    while (!quit && !close_requested && !end_signal) {
        switch (start_menu(level_line(current))) {
        case main_menu::play:
            current = play_session(*marble, current);
            break;
        case main_menu::open: {
            // The sets' own screen; the file chooser is a click away, for any file on the disk.
            const level_choice choice = level_select(current);
            if (choice.what == level_choice::level) {
                current = play_session(*marble, choice.path);
                break;
            }
            // A file chosen plays at once, as a card does; a set's level stays that set's.
            std::string chosen;
            if (choice.what != level_choice::other_file || !choose_field_file(current, chosen))
                break;
            if (shared_run_file(chosen))
                watch_shared_run(*marble, chosen);
            else
                current = play_session(*marble, as_set_level(chosen));
            break;
        }
        case main_menu::records:
            level_records(*marble, current);
            break;
        case main_menu::editor:
            current = editor(current);
            break;
        case main_menu::settings:
            settings();
            clear_to_color(screen, 0);  // an alert of the save stands on black, not on the dialog's remains
            save_settings(settings_file);
            break;
        case main_menu::info:
            info();
            break;
        case main_menu::quit:
            quit = true;
            break;
        default:
            break;
        }
        keep_level(current, kept);
    }

    // What could not be written before, tried once more while an alert can still say so.
    save_settings(settings_file);
    save_pending_records();
    delete marble;
    unload_datafile(data1);
    data1 = nullptr;
    stop_scaling();
    remove_timer();
    remove_mouse();
    remove_keyboard();
    allegro_exit();
    return 0;
}
