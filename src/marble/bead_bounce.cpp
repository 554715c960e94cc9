#include <cmath>

#include "marble/bead.h"
#include "platform/grid.h"

namespace {

constexpr float restitution = -0.3f;
constexpr double reach = grid::reach;

// The volume of a knock at this speed across the face: none at 1 pixel per frame or less, 255
// at 6; faster hits stay at the loudest.
int knock_volume(float component)
{
    if (!(component > 1 || component < -1))
        return 0;
    int volume = (int)(std::fabs((double)component) * 255.0 / 6.0);
    return volume > 255 ? 255 : volume;
}

}  // namespace

void bead::bounce_soundh()
{
    events.knock(knock_volume(speed.x));
}

void bead::bounce_soundv()
{
    events.knock(knock_volume(speed.y));
}

bool bead::face_bounce(face_axis axis, int line, face_side side, bool sounds)
{
    float &position = axis == on_x ? x : y;
    float &velocity = axis == on_x ? speed.x : speed.y;
    bool beyond = side == keeps_less ? position > line : position < line;
    if (!beyond)
        return false;
    position = (float)line;
    if (sounds) {
        if (axis == on_x)
            bounce_soundh();
        else
            bounce_soundv();
    }
    velocity = velocity * restitution;
    return true;
}

bool bead::corner_test(int ky, int kx)
{
    if (!(distance(ky, kx) < reach))
        return false;
    corner_bounce(ky, kx);
    return true;
}

// Bounces the marble off the corner point K. The step ran from Q (old centre) to P (centre now);
// H is where the marble's centre first came within 16 of K on that line. The speed towards K is
// reversed and cut to 30 %, and the rest of the step beyond H is run along the new direction,
// shortened by the loss of speed.
void bead::corner_bounce(int ky, int kx)
{
    if (bounced)
        return;

    double qx = old_x, qy = old_y;
    double sx = x - qx, sy = y - qy;
    // The step is measured to the exact old centre: measured to a truncated one it can come out
    // near zero for a slow marble, and the contact solve then throws the marble across the board.
    double l = std::sqrt(sx * sx + sy * sy);
    double ux = 0, uy = 0;
    if (l != 0) {
        ux = sx / l;
        uy = sy / l;
    } else {
        l = 0.00001;
    }
    double ex = qx - kx, ey = qy - ky;
    double e2 = ex * ex + ey * ey;
    // b = D²/L − E²/L − L, twice the component of Q − K along the step, taken as the dot product
    // itself so that nothing cancels for a short step.
    double b = 2.0 * (ex * ux + ey * uy);
    double m = e2 - reach * reach;
    // A marble within reach that is at rest or moving away from K is not bounced: it is leaving,
    // and the contact solve would put H on the far side of K and throw it through the corner.
    if (e2 < reach * reach && b >= 0)
        return;

    // t: the smaller root of s² + b·s + m = 0, the distance from Q along the step to first
    // contact; negative when Q itself was already within reach.
    double disc = b * b / 4.0 - m;
    double t = -b / 2.0 - std::sqrt(disc > 0 ? disc : 0.0);
    double hx = qx + ux * t;
    double hy = qy + uy * t;

    Vektor along((float)(kx - hx), (float)(ky - hy));
    Vektor across;
    speed.Komponenter(&along, &across);
    along = along * restitution;
    float s0 = speed.Langd();
    speed = along + across;
    float s1 = speed.Langd();
    float r = s1 != 0 ? s0 / s1 : s0;
    if (r == 0)
        r = 0.0001f;
    Vektor w = speed;
    w.Normalise();  // a marble at rest keeps no direction and stays at H
    double rest_of_step = (l - t) / r;
    x = (float)(hx + w.x * rest_of_step);
    y = (float)(hy + w.y * rest_of_step);

    bounced = 1;
}
