#pragma once

// A point of two floats in screen pixels; serves the vector's arrow drawing.
class FloatCoord {
public:
    float x;
    float y;

    FloatCoord() : x(0), y(0) {}
    FloatCoord(float x, float y) : x(x), y(y) {}

    void Set(float nx, float ny) { x = nx; y = ny; }
    void Add(float a, float b) { x += a; y += b; }
    void Add(const FloatCoord *c) { x += c->x; y += c->y; }
    void operator+=(const FloatCoord &c) { Add(&c); }

    void Mul(float f);
    void Div(float f);
    void Rotate(float a);
    void Rotate(float cx, float cy, float a);
    void Mul(float cx, float cy, float f);
    void Div(float cx, float cy, float f);
    void Rotate(const FloatCoord *c, float a) { Rotate(c->x, c->y, a); }
    void Mul(const FloatCoord *c, float f) { Mul(c->x, c->y, f); }
    void Div(const FloatCoord *c, float f) { Div(c->x, c->y, f); }

    float Distance(const FloatCoord *c) const;
    float operator-(const FloatCoord &c) const { return Distance(&c); }
    // Direction to c in radians, clockwise on the screen from "right"; -1 for c == this point.
    float Dir(const FloatCoord *c) const;
};
