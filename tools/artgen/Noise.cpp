#include "Noise.h"

#include <cmath>

namespace artgen {

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
