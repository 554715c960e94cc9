#include "geometry/vektor.h"

#include <allegro.h>
#include <cmath>

#include "geometry/punkter.h"

float Abs(float f)
{
    return f < 0 ? -f : f;
}

float Vektor::Langd() const
{
    return static_cast<float>(std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y));
}

void Vektor::Normalise()
{
    float l = Langd();
    if (l == 0)
        return;
    x = x / l;
    y = y / l;
}

float Vektor::operator^(const Vektor &w) const
{
    float lv = Langd();
    float lw = w.Langd();
    if (lv == 0 || lw == 0)
        return 0.5f;
    float c = (*this * w) / lv;
    c = c / lw;
    return c / 2 + 0.5f;
}

void Vektor::Komponenter(Vektor *along, Vektor *across) const
{
    along->Normalise();
    *along = *along * (*this * *along);
    *across = *this - *along;
}

void Vektor::Rita(int px, int py, int colour) const
{
    FloatCoord s(px, py);
    FloatCoord t(px + x, py + y);
    line(screen, (int)s.x, (int)s.y, (int)t.x, (int)t.y, colour);
    if (Langd() == 0)
        return;  // no shaft, no barbs
    Vektor n = *this;
    n.Normalise();
    n = n * -10.0f;
    FloatCoord q(t.x + n.x, t.y + n.y);
    q.Rotate(&t, 0.3f);
    line(screen, (int)t.x, (int)t.y, (int)q.x, (int)q.y, colour);
    q.Rotate(&t, -0.6f);
    line(screen, (int)t.x, (int)t.y, (int)q.x, (int)q.y, colour);
}
