#pragma once

#include <cstdint>
#include <vector>

#include "common/Arena.h"
#include "gfx/Surface.h"

namespace qx::web {

// A copy of a surface in the byte order a canvas's ImageData holds (red,
// green, blue, alpha; alpha always opaque), kept up to date box by box so a
// tick converts only the pixels it changed.
class RgbaMirror {
  public:
    // Resizes to the surface's size and converts all of it.
    void CopyAll(const Surface& source);
    // Converts one box of the surface (clipped to it); the mirror must have
    // the surface's size.
    void Copy(const Surface& source, const Box& box);

    int Width() const { return width; }
    int Height() const { return height; }
    const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(pixels.data()); }

    // 0x00RRGGBB to the little-endian word whose bytes are R, G, B, 255.
    static uint32_t ToRgba(uint32_t xrgb) {
        return 0xFF000000u | (xrgb & 0xFFu) << 16 | (xrgb & 0xFF00u) | (xrgb >> 16 & 0xFFu);
    }

  private:
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

}  // namespace qx::web
