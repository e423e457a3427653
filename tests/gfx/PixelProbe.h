#pragma once

// Small picture helpers shared by the game's drawing tests: a backdrop whose
// every pixel is distinct, a marker colour that no backdrop or sprite pixel
// has, and a look at which pixels of a surface a drawing changed.
#include <cstdint>

#include "common/Arena.h"
#include "gfx/Surface.h"

namespace qx::test {

// Fills the screen before a drawing so that changed pixels stand out.
constexpr uint32_t kMarker = 0xFE01FD;

// A 600 x 400 backdrop whose pixel at (x, y) encodes its own position, so a
// test can tell which backdrop pixel landed where. Never equal to kMarker.
inline uint32_t BackdropPixel(int x, int y) {
    return static_cast<uint32_t>(x) << 10 | static_cast<uint32_t>(y);
}

inline Surface PositionBackdrop() {
    Surface s(kArenaWidth, kArenaHeight);
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) s.SetPixel(x, y, BackdropPixel(x, y));
    }
    return s;
}

inline Rect ClientOf(int w, int h) {
    return Rect{0, 0, w, h};
}

// The smallest box holding every pixel that differs from `marker`; a box of
// size 0 when none does.
inline Box ChangedBounds(const Surface& s, uint32_t marker = kMarker) {
    int left = s.Width(), top = s.Height(), right = -1, bottom = -1;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            if (s.Pixel(x, y) == marker) continue;
            if (x < left) left = x;
            if (x > right) right = x;
            if (y < top) top = y;
            if (y > bottom) bottom = y;
        }
    }
    if (right < 0) return Box{0, 0, 0, 0};
    return Box{left, top, right - left + 1, bottom - top + 1};
}

inline int CountChanged(const Surface& s, uint32_t marker = kMarker) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) n += s.Pixel(x, y) != marker;
    }
    return n;
}

// True when every pixel of `s` inside `box` equals the backdrop pixel at the
// same place (a one-to-one copy at 600 x 400).
inline bool ShowsBackdrop(const Surface& s, const Surface& backdrop, const Box& box) {
    for (int y = box.y; y < box.y + box.h; ++y) {
        for (int x = box.x; x < box.x + box.w; ++x) {
            if (s.Pixel(x, y) != backdrop.Pixel(x, y)) return false;
        }
    }
    return true;
}

// True when the w x h rectangle of `s` at (left, top) shows the sprite
// composed over the backdrop, pixel by pixel: (backdrop AND mask) OR image.
// With a black-and-white mask that is the image where the mask is black and
// backdrop OR image where it is white. Works at 600 x 400 only.
inline bool ShowsSprite(const Surface& s, const Surface& backdrop, int left, int top,
                        const Surface& image, const Surface& mask) {
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const uint32_t under = backdrop.Pixel(left + x, top + y);
            const uint32_t expected = (under & mask.Pixel(x, y)) | image.Pixel(x, y);
            if (s.Pixel(left + x, top + y) != expected) return false;
        }
    }
    return true;
}

}  // namespace qx::test
