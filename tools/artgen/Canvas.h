#pragma once

#include <cstdint>
#include <vector>

#include "Color.h"

// A painting surface of floating-point colours. Reads outside the canvas give
// black and writes outside it are ignored, so painters can draw freely near
// the edges.
namespace artgen {

class Canvas {
  public:
    Canvas() = default;
    Canvas(int width, int height, Rgb fill = {});

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Rgb At(int x, int y) const;
    void Set(int x, int y, Rgb c);
    // Paints c over the pixel with opacity a (0..1).
    void Blend(int x, int y, Rgb c, float a);
    // Adds light: the pixel brightens by c * a, as glowing things do.
    void Glow(int x, int y, Rgb c, float a);
    void Fill(Rgb c);

    // The picture flipped left to right.
    Canvas Mirrored() const;
    // 0xRRGGBB of a pixel, rounded.
    uint32_t Packed(int x, int y) const { return Pack(At(x, y)); }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgb> pixels_;
};

}  // namespace artgen
