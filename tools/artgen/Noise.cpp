#include "Noise.h"

#include <cmath>

namespace artgen {

float Noise::Lattice(int x, int y) const {
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

float Noise::Value(float x, float y) const {
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

float Noise::Fractal(float x, float y, int octaves) const {
    float sum = 0;
    float weight = 1;
    float total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += Value(x, y) * weight;
        total += weight;
        weight *= 0.5f;
        x = x * 2 + 17.3f;
        y = y * 2 + 9.1f;
    }
    return total > 0 ? sum / total : 0;
}

}  // namespace artgen
