#include "gfx/Surface.h"

#include <algorithm>

namespace qx {

Surface::Surface(int width, int height, uint32_t fill) {
    Reset(width, height, fill);
}

void Surface::Reset(int width, int height, uint32_t fill) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill);
}

void Surface::Fill(uint32_t color) {
    std::fill(pixels_.begin(), pixels_.end(), color);
}

uint32_t Surface::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void Surface::SetPixel(int x, int y, uint32_t color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = color;
}

}  // namespace qx
