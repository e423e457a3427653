#include "Shape.h"

#include <algorithm>

namespace artgen {

Shape::Shape(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bits_(static_cast<size_t>(width_) * height_, 0) {}

bool Shape::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    return bits_[static_cast<size_t>(y) * width_ + x] != 0;
}

void Shape::Set(int x, int y, bool on) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    bits_[static_cast<size_t>(y) * width_ + x] = on ? 1 : 0;
}

void Shape::AddSpan(int y, int x0, int x1) {
    for (int x = x0; x <= x1; ++x) Set(x, y, true);
}

void Shape::AddPolygon(const std::vector<Point>& points) {
    const size_t n = points.size();
    if (n < 3) return;
    for (int y = 0; y < height_; ++y) {
        const float py = static_cast<float>(y) + 0.5f;
        for (int x = 0; x < width_; ++x) {
            const float px = static_cast<float>(x) + 0.5f;
            bool inside = false;
            for (size_t i = 0, j = n - 1; i < n; j = i++) {
                const Point& a = points[i];
                const Point& b = points[j];
                if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x)
                    inside = !inside;
            }
            if (inside) Set(x, y, true);
        }
    }
}

void Shape::AddEllipse(float cx, float cy, float rx, float ry) {
    if (rx <= 0 || ry <= 0) return;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - cx) / rx;
            const float dy = (static_cast<float>(y) + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f) Set(x, y, true);
        }
}

void Shape::Add(const Shape& other) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (other.At(x, y)) Set(x, y, true);
}

void Shape::Remove(const Shape& other) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (other.At(x, y)) Set(x, y, false);
}

void Shape::Intersect(const Shape& other) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (!other.At(x, y)) Set(x, y, false);
}

bool Shape::IsEdge(int x, int y) const {
    return At(x, y) && (!At(x - 1, y) || !At(x + 1, y) || !At(x, y - 1) || !At(x, y + 1));
}

int Shape::Count() const {
    return static_cast<int>(std::count(bits_.begin(), bits_.end(), 1));
}

Shape Shape::Mirrored() const {
    Shape out(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) out.Set(width_ - 1 - x, y, At(x, y));
    return out;
}

bool Shape::ColumnExtent(int x, int& top, int& bottom) const {
    top = -1;
    bottom = -1;
    for (int y = 0; y < height_; ++y)
        if (At(x, y)) {
            if (top < 0) top = y;
            bottom = y;
        }
    return top >= 0;
}

}  // namespace artgen
