#pragma once

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

}  // namespace artgen
