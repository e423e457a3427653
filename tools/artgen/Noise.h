#pragma once

#include <cmath>
#include <cstdint>

// Smooth value noise on an integer lattice, for clouds, rock texture and
// flames. The same seed and coordinates always give the same value.
namespace artgen {

class Noise {
  public:
    explicit Noise(uint32_t seed) : seed_(seed) {}

    // Smoothly interpolated noise, 0..1, with features about 1 unit apart.
    float Value(float x, float y) const;
    // Sum of `octaves` layers, each twice as fine and half as strong; 0..1.
    float Fractal(float x, float y, int octaves) const;
    // Hash of a lattice point, 0..1.
    float Lattice(int x, int y) const;

  private:
    uint32_t seed_;
};

// Defined here so the painting loops inline them (the browser build paints
// at start).
[[gnu::always_inline]] inline float Noise::Lattice(int x, int y) const {
    uint32_t h = seed_ * 0x27D4EB2Du;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / 16777215.0f;
}

[[gnu::always_inline]] inline float Noise::Value(float x, float y) const {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    float tx = x - fx;
    float ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const float a = Lattice(ix, iy);
    const float b = Lattice(ix + 1, iy);
    const float c = Lattice(ix, iy + 1);
    const float d = Lattice(ix + 1, iy + 1);
    const float top = a + (b - a) * tx;
    const float bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

}  // namespace artgen
