#include "Canvas.h"

#include <algorithm>

namespace artgen {

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_, fill) {}

Rgb Canvas::At(int x, int y) const {
    if (!Inside(x, y)) return {};
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Canvas::Set(int x, int y, Rgb c) {
    if (Inside(x, y)) pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Canvas::Blend(int x, int y, Rgb c, float a) {
    if (!Inside(x, y) || a <= 0) return;
    Set(x, y, Mix(At(x, y), c, a));
}

void Canvas::Glow(int x, int y, Rgb c, float a) {
    if (!Inside(x, y) || a <= 0) return;
    Rgb p = Sum(At(x, y), Scale(c, a));
    Set(x, y, {std::min(p.r, 255.0f), std::min(p.g, 255.0f), std::min(p.b, 255.0f)});
}

void Canvas::Fill(Rgb c) {
    std::fill(pixels_.begin(), pixels_.end(), c);
}

Canvas Canvas::Mirrored() const {
    Canvas out(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) out.Set(width_ - 1 - x, y, At(x, y));
    return out;
}

}  // namespace artgen
