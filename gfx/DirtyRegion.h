#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/Arena.h"

namespace qx {

// Turns the rectangles one tick wrote (many of them overlap: a sprite is
// erased, masked and drawn over the same box) into a few boxes inside the
// screen, so the page copies each changed pixel to the canvas about once.
class DirtyRegion {
  public:
    // Past this many boxes the region is their bounding box.
    static constexpr size_t kMaxBoxes = 64;

    // Clips to width x height and drops empty boxes; merges two boxes when
    // the box around both is no larger than the two together.
    static std::vector<Box> Merge(const std::vector<Box>& boxes, int32_t width, int32_t height);

  private:
    static bool MergeOnePair(std::vector<Box>& boxes);
    static Box Around(const Box& a, const Box& b);
};

}  // namespace qx
