#include "gfx/DirtyRegion.h"

#include <algorithm>

namespace qx {
namespace {

int64_t Area(const Box& box) {
    return int64_t{box.w} * box.h;
}

bool Clip(Box& box, int32_t width, int32_t height) {
    const int64_t left = std::max<int64_t>(box.x, 0);
    const int64_t top = std::max<int64_t>(box.y, 0);
    const int64_t right = std::min<int64_t>(int64_t{box.x} + box.w, width);
    const int64_t bottom = std::min<int64_t>(int64_t{box.y} + box.h, height);
    if (right <= left || bottom <= top) return false;
    box = {static_cast<int32_t>(left), static_cast<int32_t>(top),
           static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
    return true;
}

}  // namespace

std::vector<Box> DirtyRegion::Merge(const std::vector<Box>& boxes, int32_t width, int32_t height) {
    std::vector<Box> region;
    for (Box box : boxes) {
        if (Clip(box, width, height)) region.push_back(box);
    }
    if (region.size() > kMaxBoxes) {
        Box all = region.front();
        for (const Box& box : region) all = Around(all, box);
        return {all};
    }
    while (MergeOnePair(region)) {
    }
    return region;
}

bool DirtyRegion::MergeOnePair(std::vector<Box>& boxes) {
    for (size_t i = 0; i < boxes.size(); ++i) {
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            const Box both = Around(boxes[i], boxes[j]);
            if (Area(both) > Area(boxes[i]) + Area(boxes[j])) continue;
            boxes[i] = both;
            boxes.erase(boxes.begin() + static_cast<std::ptrdiff_t>(j));
            return true;
        }
    }
    return false;
}

Box DirtyRegion::Around(const Box& a, const Box& b) {
    const int32_t left = std::min(a.x, b.x);
    const int32_t top = std::min(a.y, b.y);
    const int32_t right = std::max(a.x + a.w, b.x + b.w);
    const int32_t bottom = std::max(a.y + a.h, b.y + b.h);
    return {left, top, right - left, bottom - top};
}

}  // namespace qx
