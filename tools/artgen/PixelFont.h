#pragma once

#include <cstdint>
#include <string_view>

#include "gfx/Surface.h"

// A tiny 3 x 5 pixel font for labelling the contact sheet: digits, space and
// a few signs (+ - / :). Other characters are drawn as blanks.
namespace artgen {

class PixelFont {
  public:
    static constexpr int kGlyphWidth = 3;
    static constexpr int kGlyphHeight = 5;

    // Draws text with its top-left corner at (x, y), each font pixel `scale`
    // pixels square.
    static void Draw(qx::Surface& surface, int x, int y, std::string_view text, uint32_t color,
                     int scale);
    static int Width(std::string_view text, int scale);
};

}  // namespace artgen
