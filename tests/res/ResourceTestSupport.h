#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "gfx/BitmapDecoder.h"
#include "gfx/ResourceLibrary.h"
#include "gfx/Surface.h"

// Helpers shared by the resource tests: decoding a compiled-in picture and
// the image/mask pairs the game draws with.
namespace qx::restest {

inline DecodedBitmap Decode(ResourceKind kind, int id) {
    const auto bytes = FindResource(kind, id);
    if (bytes.empty()) return {};
    return DecodeBitmap(bytes.data(), bytes.size());
}

inline int CountBlack(const Surface& s) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.Pixel(x, y) == 0) ++n;
    return n;
}

inline bool Mirrors(const Surface& a, const Surface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(a.Width() - 1 - x, y)) return false;
    return true;
}

// (image, mask) pairs as the game draws them, explosion frames left out.
std::vector<std::pair<int, int>> DrawnPairs();

}  // namespace qx::restest
