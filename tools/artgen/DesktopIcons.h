#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The large desktop icons (64, 128 and 256 pixels), painted at their sizes
// from the game's ship icon design and written as PNG pictures with
// transparency, where the desktop's hicolor theme looks for them.
namespace artgen {

class DesktopIcons {
  public:
    static constexpr int kSizes[] = {64, 128, 256};

    // An 8-bit RGBA PNG file of size x size 0xAARRGGBB pixels; empty on failure.
    static std::vector<uint8_t> EncodePng(const std::vector<uint32_t>& argb, int size);
    // Writes DIR/hicolor/<n>x<n>/apps/NAME.png for each size.
    static bool WriteAll(const std::string& dir, const std::string& name, std::string& error);
};

}  // namespace artgen
