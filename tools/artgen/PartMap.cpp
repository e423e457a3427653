#include "PartMap.h"

namespace artgen {

PartMap::PartMap(int width, int height)
    : width_(width), height_(height), cells_(static_cast<size_t>(width) * height, '.') {}

char PartMap::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return '.';
    return cells_[static_cast<size_t>(y) * width_ + x];
}

void PartMap::Paint(int y, int x0, int x1, char part) {
    if (y < 0 || y >= height_) return;
    for (int x = x0; x <= x1; ++x)
        if (x >= 0 && x < width_) cells_[static_cast<size_t>(y) * width_ + x] = part;
}

Shape PartMap::Region(std::string_view parts) const {
    Shape s(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (parts.find(At(x, y)) != std::string_view::npos) s.Set(x, y, true);
    return s;
}

Shape PartMap::Silhouette() const {
    Shape s(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (At(x, y) != '.') s.Set(x, y, true);
    return s;
}

PartMap PartMap::Mirrored() const {
    PartMap out(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) out.Paint(y, width_ - 1 - x, width_ - 1 - x, At(x, y));
    return out;
}

std::string PartMap::Dump() const {
    std::string out;
    for (int y = 0; y < height_; ++y) {
        out.append(cells_.begin() + static_cast<long>(y) * width_,
                   cells_.begin() + static_cast<long>(y + 1) * width_);
        out.push_back('\n');
    }
    return out;
}

}  // namespace artgen
