#include "Color.h"

#include <algorithm>
#include <cmath>

namespace artgen {

Rgb Hex(uint32_t rgb) {
    return {static_cast<float>((rgb >> 16) & 0xFF), static_cast<float>((rgb >> 8) & 0xFF),
            static_cast<float>(rgb & 0xFF)};
}

Rgb Mix(Rgb a, Rgb b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}

Rgb Sum(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

namespace {
uint32_t Channel(float v) {
    return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0f, 255.0f)));
}
}  // namespace

uint32_t Pack(Rgb c) {
    return (Channel(c.r) << 16) | (Channel(c.g) << 8) | Channel(c.b);
}

float Luma(Rgb c) {
    return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
}

Rgb Ramp(const Rgb* stops, int count, float t) {
    if (count <= 1) return stops[0];
    t = std::clamp(t, 0.0f, 1.0f) * static_cast<float>(count - 1);
    int i = std::min(static_cast<int>(t), count - 2);
    return Mix(stops[i], stops[i + 1], t - static_cast<float>(i));
}

}  // namespace artgen
