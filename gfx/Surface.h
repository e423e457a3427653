#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/Arena.h"

// A 32-bit pixel surface: one uint32_t per pixel, rows top to bottom with no
// padding (stride = width), the layout a QImage::Format_RGB32 can wrap without
// a copy. It stands in for GDI bitmaps and device contexts.
//
// Every pixel is stored opaque, as 0xFFRRGGBB: Format_RGB32 requires the alpha
// byte to be 0xFF, and a display server that composites windows (Wayland)
// shows a pixel with alpha 0 as transparent. Colours go in and come out as
// 0xRRGGBB (the top byte of a colour passed in is ignored), so the alpha byte
// is only seen by code that reads the raw pixels (Row, Data).
namespace qx {

// The alpha byte every stored pixel carries.
constexpr uint32_t kOpaque = 0xFF000000u;
// Black as stored.
constexpr uint32_t kOpaqueBlack = kOpaque;

class Surface {
  public:
    Surface() = default;
    // Sizes below zero are treated as zero.
    Surface(int width, int height, uint32_t fill = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    // Reallocates to the new size (contents become fill).
    void Reset(int width, int height, uint32_t fill = 0);
    void Fill(uint32_t color);

    // The colour (0xRRGGBB) at (x, y). Pixel outside the surface reads as
    // black and writes are ignored.
    uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, uint32_t color);

    // Raw pixels, 0xFFRRGGBB; whoever writes them keeps the alpha byte 0xFF.
    uint32_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
    const uint32_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
    uint32_t* Data() { return pixels_.data(); }
    const uint32_t* Data() const { return pixels_.data(); }

    // Same size and pixels (write tracking is not compared).
    bool operator==(const Surface& other) const;

    // Write tracking, for showing only what changed: when on, every raster
    // operation notes the clipped rectangle it wrote (right, bottom exclusive).
    void TrackWrites(bool on);
    void NoteWrite(int64_t left, int64_t top, int64_t right, int64_t bottom);
    // The rectangles written since the last call, and forgets them.
    std::vector<Box> TakeWrites();

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;
    bool trackWrites_ = false;
    std::vector<Box> writes_;
};

}  // namespace qx
