#include "geometry/punkter.h"

#include <cmath>

void FloatCoord::Mul(float f)
{
    x *= f;
    y *= f;
}

void FloatCoord::Div(float f)
{
    x /= f;
    y /= f;
}

void FloatCoord::Rotate(float a)
{
    double c = std::cos(static_cast<double>(a));
    double s = std::sin(static_cast<double>(a));
    float nx = static_cast<float>(x * c - y * s);
    float ny = static_cast<float>(x * s + y * c);
    x = nx;
    y = ny;
}

void FloatCoord::Rotate(float cx, float cy, float a)
{
    Add(-cx, -cy);
    Rotate(a);
    Add(cx, cy);
}

void FloatCoord::Mul(float cx, float cy, float f)
{
    Add(-cx, -cy);
    Mul(f);
    Add(cx, cy);
}

void FloatCoord::Div(float cx, float cy, float f)
{
    Add(-cx, -cy);
    Div(f);
    Add(cx, cy);
}

float FloatCoord::Distance(const FloatCoord *c) const
{
    float dx = x - c->x;
    float dy = y - c->y;
    float sum = dx * dx + dy * dy;
    return static_cast<float>(std::sqrt(static_cast<double>(sum)));
}

float FloatCoord::Dir(const FloatCoord *c) const
{
    float d = *this - *c;
    if (d == 0)
        return -1;
    double cosine = static_cast<double>(c->x - x) / d;
    // The float distance can round a hair below |dx|; acos must not see more than 1.
    if (cosine > 1)
        cosine = 1;
    if (cosine < -1)
        cosine = -1;
    float a = static_cast<float>(std::acos(cosine));
    if (c->y - y < 0)
        return static_cast<float>(6.283185307 - a);
    return a;
}
