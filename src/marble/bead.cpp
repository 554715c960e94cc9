#include "marble/bead.h"

#include <cmath>
#include <cstdlib>

#include "field/field.h"
#include "field/grid.h"
#include "shell/config.h"
#include "shell/data1.h"
#include "shell/globals.h"
#include "shell/screen_scaler.h"
#include "tiles/tile.h"

namespace {

// A physics factor is taken only inside [lo, hi]; anything else keeps the default, so no
// hand-edited file can break the physics.
float read_factor(const char *key, float fallback, float lo, float hi)
{
    std::optional<float> v = config_float(key);
    return v && *v >= lo && *v <= hi ? *v : fallback;
}

}  // namespace

bead::bead()
    : mickey_x(0), mickey_y(0), tilt_x(0), tilt_y(0), sensitivity(1.0f),
      sprite((BITMAP *)data1[OBJ_MARBLE].dat), buffer(create_bitmap(grid::block, grid::block)),
      current_field(nullptr), x(0), y(0), old_x(0), old_y(0), state(stopped), bounced(0),
      flags_left(0), restart_tile(nullptr), cur_friction(0.99f), friction(0.99f),
      softfriction(0.5f), shown_column(0), shown_row(0), shown_x(0), shown_y(0), shown_state(stopped),
      shown_flags(0)
{
    friction = read_factor("friction", 0.99f, 0.0f, 1.0f);
    softfriction = read_factor("softfriction", 0.5f, 0.0f, 1.0f);
    // Any finite factor is safe: the tilt is clamped after it is scaled.
    sensitivity = config_float("mouse_sensitivity").value_or(1.0f);
    cur_friction = friction;
}

bead::~bead()
{
    delete current_field;
    destroy_bitmap(buffer);
}

float bead::distance(int py, int px)
{
    double dx = (double)x - px;
    double dy = (double)y - py;
    return (float)std::sqrt(dx * dx + dy * dy);
}

int bead::start_bead(std::string file)
{
    return play_field(field::load_field_file(file));
}

int bead::try_level(const char *text)
{
    field *board = new field(text, grid::cells, grid::cells);
    if (board->status != field::built) {
        delete board;
        board = nullptr;
    }
    return play_field(board);
}

int bead::play_field(field *board)
{
    tilt_acc = speed = hole_pull = tile_push = slope_acc = Vektor();
    tilt_x = tilt_y = 0;
    keys.level();
    // The settings dialog may have changed it since the last run.
    sensitivity = config_float("mouse_sensitivity").value_or(1.0f);
    cur_friction = friction;
    play_midi((MIDI *)data1[OBJ_MIDI_RUN].dat, TRUE);
    clear_bitmap(screen);

    delete current_field;
    current_field = board;
    // A start that lies past the board's cells leaves the field without a start tile.
    if (current_field && !current_field->start_point) {
        delete current_field;
        current_field = nullptr;
    }
    if (!current_field) {
        alert("Virhe kentän luomisessa", "", "", "Ok", nullptr, 0, 0);
        stop_midi();
        return 1;
    }
    current_field->test_draw();
    shown_column = 0;  // the first frame shows its whole block

    flags_left = current_field->flag_count;
    state = rolling;
    restart_tile = current_field->start_point;
    x = old_x = (float)restart_tile->x;
    y = old_y = (float)restart_tile->y;

    // Movement made before the run is read and dropped. The pointer is not placed at (400, 300)
    // here nor anywhere in the run: on X11 every placing races with the movements under way and
    // loses or corrupts some, and while mickeys are read the mouse driver keeps the hidden
    // pointer away from the screen's edges itself.
    show_mouse(nullptr);
    get_mouse_mickeys(&mickey_x, &mickey_y);
    clear_keybuf();  // keys pressed before the run do not end it
    install_int(my_timer, 10);

    do {
        move();
        teh_counter = 1;
        show();
        // An enlarged window gets the frame at once, not at the presenter's next tick.
        present_screen();
        while (teh_counter > 0)
            wait_tick();
        if (state == fallen) {
            x = (float)restart_tile->x;
            y = (float)restart_tile->y;
            // Movement made during the fall must not tilt the new start.
            get_mouse_mickeys(&mickey_x, &mickey_y);
            state = rolling;
            tilt_acc = speed = hole_pull = tile_push = slope_acc = Vektor();
            tilt_x = tilt_y = 0;
            keys.level();
        }
    } while (state != stopped && flags_left > 0);

    remove_int(my_timer);
    stop_midi();
    // Placing the pointer hands it back to the menu at the centre and ends the driver's holding
    // of it; the menu gets none of the keys typed during play.
    place_pointer(400, 300);
    clear_keybuf();
    delete current_field;
    current_field = nullptr;
    return 1;
}
