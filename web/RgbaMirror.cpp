#include "web/RgbaMirror.h"

#include <algorithm>

namespace qx::web {

void RgbaMirror::CopyAll(const Surface& source) {
    width = source.Width();
    height = source.Height();
    pixels.assign(static_cast<size_t>(width) * height, 0);
    Copy(source, {0, 0, width, height});
}

void RgbaMirror::Copy(const Surface& source, const Box& box) {
    if (source.Width() != width || source.Height() != height) return;
    const int left = std::max(box.x, 0);
    const int top = std::max(box.y, 0);
    const int right = std::min(box.x + box.w, width);
    const int bottom = std::min(box.y + box.h, height);
    for (int y = top; y < bottom; ++y) {
        const uint32_t* from = source.Row(y);
        uint32_t* to = pixels.data() + static_cast<size_t>(y) * width;
        for (int x = left; x < right; ++x) to[x] = ToRgba(from[x]);
    }
}

}  // namespace qx::web
