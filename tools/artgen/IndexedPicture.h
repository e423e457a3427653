#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Shape.h"

// A palette picture as it is stored: 1, 4 or 8 bits per pixel, a colour table
// and one palette index per pixel, rows from the top down.
namespace artgen {

struct IndexedPicture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;
    std::vector<uint32_t> palette;  // 0xRRGGBB, at most 2^bitsPerPixel entries
    std::vector<uint8_t> pixels;    // width * height indices

    uint32_t Color(int x, int y) const {
        return palette[pixels[static_cast<size_t>(y) * width + x]];
    }

    // A mask picture: black (index 0) on the shape, white (index 1) elsewhere.
    static IndexedPicture FromMask(const Shape& shape, int bitsPerPixel);
    // A picture of one colour.
    static IndexedPicture Plain(int width, int height, int bitsPerPixel, uint32_t color);
};

}  // namespace artgen
