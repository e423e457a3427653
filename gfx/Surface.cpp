#include "gfx/Surface.h"

#include <algorithm>

namespace qx {

Surface::Surface(int width, int height, uint32_t fill) {
    Reset(width, height, fill);
}

void Surface::Reset(int width, int height, uint32_t fill) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill | kOpaque);
}

void Surface::Fill(uint32_t color) {
    std::fill(pixels_.begin(), pixels_.end(), color | kOpaque);
}

uint32_t Surface::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] &
           ~kOpaque;
}

void Surface::SetPixel(int x, int y, uint32_t color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] =
        color | kOpaque;
}

bool Surface::operator==(const Surface& other) const {
    return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
}

void Surface::TrackWrites(bool on) {
    trackWrites_ = on;
    writes_.clear();
}

// Many small boxes are kept apart (a tick writes a dozen); past a limit they
// are merged into their bounding box so the list stays short.
void Surface::NoteWrite(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    if (!trackWrites_ || left >= right || top >= bottom) return;
    constexpr size_t kMaxWrites = 64;
    Box box{static_cast<int32_t>(left), static_cast<int32_t>(top),
            static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
    if (writes_.size() >= kMaxWrites) {
        for (const Box& b : writes_) {
            const int32_t r = std::max(box.x + box.w, b.x + b.w);
            const int32_t btm = std::max(box.y + box.h, b.y + b.h);
            box.x = std::min(box.x, b.x);
            box.y = std::min(box.y, b.y);
            box.w = r - box.x;
            box.h = btm - box.y;
        }
        writes_.clear();
    }
    writes_.push_back(box);
}

std::vector<Box> Surface::TakeWrites() {
    std::vector<Box> taken;
    taken.swap(writes_);
    return taken;
}

}  // namespace qx
