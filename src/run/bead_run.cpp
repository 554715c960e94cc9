// The game run: the level played frame by frame, its pause, its restart and its panel.
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>

#include "field/field.h"
#include "field/level_order.h"
#include "field/tile_guide.h"
#include "input/raw_motion.h"
#include "marble/bead.h"
#include "platform/config.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "platform/screen_scaler.h"
#include "platform/session_end.h"
#include "platform/text_encoding.h"
#include "platform/window.h"
#include "records/campaign.h"
#include "records/player_records.h"
#include "records/record_proof.h"
#include "records/run_time.h"
#include "run/ghost.h"
#include "run/run_panel.h"
#include "tiles/tile.h"

namespace {

// Set from the library's input thread: the window lost the input focus, or P or R was pressed.
// The run's keys are taken as the keyboard handler sees them, so none is lost to the motion
// step's reading of the buffer, however short the press.
volatile int focus_lost = 0;
volatile int run_command = 0;

void on_switch_out()
{
    focus_lost = 1;
}
END_OF_FUNCTION(on_switch_out)

int on_key(int k)
{
    const int scancode = k >> 8;
    if (scancode == KEY_P || scancode == KEY_R || scancode == KEY_G || scancode == KEY_1 || scancode == KEY_2 ||
        scancode == KEY_4) {
        run_command = scancode;
        return 0;  // not in the buffer: these mean nothing to the menus after the run
    }
    return k;
}
END_OF_FUNCTION(on_key)

// The command waiting since the last call, or 0.
int take_command()
{
    const int k = run_command;
    run_command = 0;
    return k;
}

// The player's hand tilts the board from now on, every count of it, and the pointer is held
// inside the window; or no more, and the pointer is free for the panels and dialogs.
void count_motion(bool on)
{
    hold_pointer(on);
    if (on)
        raw_motion_begin();
    else
        raw_motion_end();
}

// Esc pressed during a pause: held now or waiting in the buffer.
bool esc_pressed()
{
    bool esc = key[KEY_ESC] != 0;
    while (keypressed())
        esc = (readkey() >> 8) == KEY_ESC || esc;
    return esc;
}

}  // namespace

bool bead::begin_level(const std::function<field *()> &make)
{
    delete current_field;
    current_field = make();
    // A start that lies past the board's cells leaves the field without a start tile.
    if (current_field && !current_field->start_point) {
        delete current_field;
        current_field = nullptr;
    }
    if (!current_field)
        return false;
    current_field->test_draw();
    shown_column = 0;  // the first frame shows its whole block
    place_on_start();
    level_id = level_key(*current_field);
    return true;
}

int bead::pause(run_panel &panel)
{
    count_motion(false);
    panel.update(current_field->flag_count - flags_left, run_time, falls, true);
    panel.show_pause(true);
    int k = 0;
    while (k != KEY_P && k != KEY_R && k != KEY_ESC) {
        wait_input(100);  // a key wakes it; the focus coming back alone does not end the pause
        k = esc_pressed() ? KEY_ESC : take_command();
    }
    panel.show_pause(false);
    // The tilt stays as it was: movement made during the pause is read and dropped.
    get_mouse_mickeys(&mickey_x, &mickey_y);
    focus_lost = 0;
    if (!script && k != KEY_ESC)
        count_motion(true);
    return k;
}

bool bead::ask_restart(run_panel &panel)
{
    panel.update(current_field->flag_count - flags_left, run_time, falls, true);
    count_motion(false);
    // Return answers "Kyllä" wherever the pointer is; Esc and the close button answer "Ei".
    const bool yes = alert("Aloitetaanko alusta?", "", "", L1("Kyllä"), "Ei", '\r', 'e') == 1;
    // As after a pause: movement made meanwhile is dropped, and an R pressed at the question
    // asks nothing more.
    get_mouse_mickeys(&mickey_x, &mickey_y);
    if (run_command == KEY_R)
        run_command = 0;
    // The Esc that answered must not also leave the run: it counts again once let go.
    while (key[KEY_ESC] && !close_requested)
        wait_input(100);
    clear_keybuf();
    if (close_requested) {
        state = stopped;
        return false;
    }
    count_motion(true);
    // The alert leaves its box where it stood: the board and the panel are drawn whole again.
    current_field->test_draw();
    shown_column = 0;
    panel.draw();
    panel.update(current_field->flag_count - flags_left, run_time, falls, true);
    return yes;
}

void bead::race_flags(run_panel &panel, std::map<std::pair<int, int>, int> &flag_times)
{
    // A flag the player took now, and one the ghost took now that the player took before.
    if (events.flag_taken) {
        const std::pair<int, int> f{restart_tile->x, restart_tile->y};
        flag_times[f] = run_time;
        const int theirs = racer->flag_time(f.first, f.second);
        if (theirs >= 0)
            panel.show_gap(run_time - theirs);
    }
    for (const std::pair<int, int> &f : racer->taken_now) {
        const auto mine = flag_times.find(f);
        if (mine != flag_times.end() && !(events.flag_taken && f == std::make_pair(restart_tile->x, restart_tile->y)))
            panel.show_gap(mine->second - racer->flag_time(f.first, f.second));
    }
}

void bead::watch_end(run_panel &panel)
{
    panel.update(current_field->flag_count - flags_left, run_time, falls, true);
    panel.show_end(flags_left <= 0 ? "Voitto " + time_text(run_time) : L1("Suoritus päättyi"), watch_verdict);
    // The last frame stands until the player leaves: a key, a click or the close button.
    clear_keybuf();
    while (mouse_b && !close_requested)
        wait_input(100);
    while (!close_requested && !end_signal) {
        wait_input(100);
        if (keypressed() || mouse_b || take_command())
            break;
    }
    clear_keybuf();
}

void bead::next_hint_frame(run_panel &panel)
{
    if (hints.empty())
        return;
    if (hint_shown == 0) {
        panel.show_hint(hints.front());
        // Met once shown: a run left at once does not show it again.
        std::string met = get_config_string("settings", "tiles_met", "");
        met += hints.front()->codes[0];
        config_set_changed("tiles_met", met);
    }
    if (++hint_shown < hint_frames)
        return;
    hints.erase(hints.begin());
    hint_shown = 0;
    if (hints.empty())
        panel.show_hint(nullptr);
}

void bead::stand_won_frame()
{
    for (int t = 0; t < won_frame_stands && !close_requested && !end_signal; t++) {
        teh_counter = 1;
        while (teh_counter > 0 && !close_requested && !end_signal)
            wait_tick();
    }
}

int bead::start_bead(std::string file)
{
    level_path = file;
    const int r = play_level(shown_title(file), [file] { return field::load_field_file(file); });
    level_path.clear();
    return r;
}

int bead::try_level(const char *text)
{
    const std::string board(text);
    return play_level("Kokeilu", [board] { return field::from_text(board); }, true);
}

int bead::watch_level(const std::string &title, const std::function<field *()> &make,
                      const std::vector<run_tilt> &tilts, const std::string &verdict)
{
    script = &tilts;
    watch_verdict = verdict;
    play_level(title, make);
    script = nullptr;
    won = false;  // watched, not won
    return 1;
}

int bead::play_level(const std::string &title, const std::function<field *()> &make, bool trial)
{
    won = false;
    read_settings();  // the settings dialog may have changed them since the last run
    if (script) {
        // A run is watched with the factors it was stepped with when it was kept.
        friction = cur_friction = default_friction;
        softfriction = default_softfriction;
    }
    play_midi((MIDI *)data1[OBJ_MIDI_RUN].dat, TRUE);
    clear_bitmap(screen);
    if (!begin_level(make)) {
        alert(L1("Virhe kentän luomisessa"), "", "", "Ok", nullptr, 0, 0);
        stop_midi();
        return 1;
    }
    const int best_row = best_proven(player_records, level_id, make);
    const std::vector<record_entry> &rows = player_records.table(level_id);
    const int panel_best = best_row < 0 ? 0 : rows[static_cast<size_t>(best_row)].time;
    run_panel panel(title, flags_left, panel_best,
                    script ? run_panel::watch : trial ? run_panel::trial : run_panel::play);
    if (!level_path.empty() && !script) {
        // The medal next above the one the best time holds.
        const medal_times medals = level_medals(level_path);
        const medal held = medal_for(medals, best_row < 0 ? 0 : rows[static_cast<size_t>(best_row)].time);
        const int next = held == no_medal ? bronze : held == gold ? gold : held - 1;
        if (medals.limit[next - 1] > 0)
            panel.set_medal(next, medals.limit[next - 1]);
    }
    // The best run races the player, on a board of its own.
    std::unique_ptr<ghost> rival;
    run_record best;
    if (!script && best_row >= 0 && row_run(rows[static_cast<size_t>(best_row)], best)) {
        rival = std::make_unique<ghost>(best.tilts);
        rival->shown = get_config_int("settings", "ghost", 1) != 0;
        rival->restart(make());
        racer = rival.get();
        panel.show_ghost(true, rival->shown);
    }
    std::map<std::pair<int, int>, int> flag_times;  // the player's, by the flag's centre
    hints.clear();
    if (!script)
        hints = tiles_to_meet(*current_field, get_config_string("settings", "tiles_met", ""));
    hint_shown = 0;
    panel.draw();
    panel.update(0, 0, 0);
    level_asked = false;
    script_next = 0;

    // Movement made before the run is read and dropped. The pointer is not placed at (400, 300)
    // here nor anywhere in the run: on X11 every placing races with the movements under way and
    // loses or corrupts some, and while mickeys are read the mouse driver keeps the hidden
    // pointer away from the screen's edges itself.
    show_mouse(nullptr);
    get_mouse_mickeys(&mickey_x, &mickey_y);
    clear_keybuf();  // keys pressed before the run do not end it
    focus_lost = 0;
    run_command = 0;
    LOCK_VARIABLE(focus_lost);
    LOCK_VARIABLE(run_command);
    LOCK_FUNCTION(on_switch_out);
    LOCK_FUNCTION(on_key);
    set_display_switch_callback(SWITCH_OUT, on_switch_out);
    keyboard_callback = on_key;
    if (!script)
        count_motion(true);

    int frame = 0;
    // A watched run's speed (frames a tick) is the watch's alone: every run begins at 1x.
    int speed = 1;
    do {
        if (!script)
            hold_pointer(true);  // again, where another program held the pointer so far
        move();
        // The clock starts on the first frame the board is tilted or the marble moves: the window
        // takes a moment to come up, and a player looking the board over is not yet playing.
        // The run is kept from that frame on. A watched run was kept from there.
        if (script || !played.empty() || board_tilt_x != 0 || board_tilt_y != 0 || state == fallen ||
            x != (float)restart_tile->x || y != (float)restart_tile->y)
            played.push_back(run_tilt{board_tilt_x, board_tilt_y});
        // The frame's ticks: one, and a fall's animation waits through its own inside show.
        const int ticks = state == fallen ? 1 + fall_time : 1;
        teh_counter = ticks;
        // The ghost starts with the player's clock, on the start square until then.
        if (racer && !played.empty())
            racer->advance(ticks);
        show();
        if (racer)
            show_racer();
        if (state == fallen)
            falls++;
        if (!played.empty())
            run_time = add_time(run_time, ticks);
        if (racer)
            race_flags(panel, flag_times);
        if (state != stopped) {  // Esc leaves the last frame shown as it was
            panel.update(current_field->flag_count - flags_left, run_time, falls, flags_left <= 0);
            panel.show_tilt(board_tilt_x, board_tilt_y);
            next_hint_frame(panel);
        }
        // A watched run at 2x or 4x waits a tick every second or fourth frame.
        if (++frame % speed == 0 || state == fallen)
            while (teh_counter > 0)
                wait_tick();
        if (state == fallen) {
            come_back();
            // Movement made during the fall must not tilt the new start.
            drop_motion();
            stop_motion();
        }
        if (state == stopped || flags_left <= 0 || (script && script_next >= script->size()))
            break;
        int k = take_command();
        if (k == KEY_P || focus_lost) {
            k = pause(panel);
            if (k == KEY_ESC)
                state = stopped;
        }
        if (script && (k == KEY_1 || k == KEY_2 || k == KEY_4)) {
            speed = k == KEY_1 ? 1 : k == KEY_2 ? 2 : 4;
            panel.show_speed(speed);
        }
        if (k == KEY_G && racer) {
            racer->shown = !racer->shown;
            config_set_changed("ghost", racer->shown ? "1" : "0");
            show_racer();
            panel.show_ghost(true, racer->shown);
        }
        if (script && k == KEY_R)
            k = 0;  // a watched run has no restart
        if (k == KEY_R && run_time > ask_after && !ask_restart(panel))
            k = 0;
        if (k == KEY_R) {
            if (!begin_level(make)) {
                count_motion(false);
                alert(L1("Virhe kentän luomisessa"), "", "", "Ok", nullptr, 0, 0);
                break;
            }
            if (racer) {
                racer->restart(make());
                racer->on_screen = false;  // the board was drawn anew
                flag_times.clear();
            }
            drop_motion();
            panel.update(0, 0, 0);
        }
    } while (state != stopped && flags_left > 0);
    count_motion(false);
    racer = nullptr;
    if (script && state != stopped)
        watch_end(panel);

    // A level without flags is left at once and is no win to time.
    won = current_field && current_field->flag_count > 0 && state != stopped && flags_left <= 0;
    if (won && !script) {
        // A record just set is the level's best from now on, beside the win panel too.
        if (!trial && (panel_best == 0 || run_time < panel_best))
            panel.show_best(run_time);
        stand_won_frame();
    }
    keyboard_callback = nullptr;
    remove_display_switch_callback(on_switch_out);
    stop_midi();
    // Placing the pointer hands it back to the menu at the centre and ends the driver's holding
    // of it; the menu gets none of the keys typed during play.
    place_pointer(400, 300);
    clear_keybuf();
    delete current_field;
    current_field = nullptr;
    return 1;
}
