#include "marble/bead.h"

#include <cmath>

#include "platform/config.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/grid.h"

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
    : mickey_x(0), mickey_y(0), tilt_x(0), tilt_y(0), sensitivity(1.0f), board_tilt_x(0),
      board_tilt_y(0), level_asked(false),
      // Without the data file (a run stepped by a tool) the marble has no pictures to draw.
      sprite(data1 ? (BITMAP *)data1[OBJ_MARBLE].dat : nullptr),
      buffer(data1 ? create_bitmap(grid::block, grid::block) : nullptr),
      current_field(nullptr), x(0), y(0), old_x(0), old_y(0), state(stopped), bounced(0),
      flags_left(0), restart_tile(nullptr), cur_friction(default_friction), friction(default_friction),
      softfriction(default_softfriction), shown_column(0), shown_row(0), shown_x(0), shown_y(0), shown_state(stopped),
      shown_flags(0), run_time(0), falls(0), won(false)
{
}

void bead::read_settings()
{
    friction = read_factor("friction", default_friction, 0.0f, 1.0f);
    softfriction = read_factor("softfriction", default_softfriction, 0.0f, 1.0f);
    cur_friction = friction;
    // Any finite factor is safe: the tilt is clamped after it is scaled.
    sensitivity = config_float("mouse_sensitivity").value_or(1.0f);
}

float bead::distance(int py, int px)
{
    double dx = (double)x - px;
    double dy = (double)y - py;
    return (float)std::sqrt(dx * dx + dy * dy);
}

void bead::stop_motion()
{
    tilt_acc = speed = hole_pull = tile_push = slope_acc = Vektor();
    tilt_x = tilt_y = 0;
    board_tilt_x = board_tilt_y = 0;
    keys.level();
}
