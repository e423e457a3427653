#pragma once

#include <cstdint>

// The fixed logical space of every game position, size and speed. One arena
// unit is one pixel of the backdrop picture.
namespace qx {

constexpr int32_t kArenaWidth = 600;
constexpr int32_t kArenaHeight = 400;

// A rectangle by its edges, as the window reports its client area: left and
// top are 0, right is the client width and bottom the client height.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// A point in arena units.
struct Point {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Point&) const = default;
};

// A rectangle by its origin and size.
struct Box {
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
    bool operator==(const Box&) const = default;
};

}  // namespace qx
