#pragma once

// The rules step on these vectors, and a kept run proves a record only if every build steps it
// alike: fast-math would let the compiler reorder and approximate their arithmetic.
#if defined(__FAST_MATH__)
#error "vinkla's rules need IEEE arithmetic: build without -ffast-math or -Ofast"
#endif

// A free vector of two floats in screen pixels (y grows downwards).
class Vektor {
public:
    float x;
    float y;

    Vektor() : x(0), y(0) {}
    Vektor(float x, float y) : x(x), y(y) {}

    void Set(float nx, float ny) { x = nx; y = ny; }
    float Langd() const;
    // A zero vector stays zero: there is no direction to keep.
    void Normalise();

    Vektor operator+(const Vektor &w) const { return Vektor(x + w.x, y + w.y); }
    Vektor operator-(const Vektor &w) const { return Vektor(x - w.x, y - w.y); }
    Vektor operator*(float f) const { return Vektor(x * f, y * f); }
    Vektor operator/(float f) const { return Vektor(x / f, y / f); }
    float operator*(const Vektor &w) const { return x * w.x + y * w.y; }
    // How far two vectors point the same way, 0..1; 0.5 (right angles) when either is zero.
    float operator^(const Vektor &w) const;

    // Splits this vector along *along: *along becomes the part in that direction, *across the rest.
    void Komponenter(Vektor *along, Vektor *across) const;

    // Debugging aid: draws the vector as an arrow on screen starting at (px, py).
    void Rita(int px, int py, int colour) const;
};

float Abs(float f);
