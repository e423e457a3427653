#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/Surface.h"

// Writes a surface as a PNG picture (8-bit RGB, no interlace) without any
// library: the image data is a zlib stream of stored deflate blocks. Used by
// the tools to save contact sheets and screenshots for people to look at.
namespace qx {

// The whole PNG file; empty for an empty surface (PNG has no 0-pixel images).
std::vector<uint8_t> EncodePng(const Surface& surface);

// Writes EncodePng(surface) to path. On failure returns false and, when error
// is given, says why.
bool WritePng(const Surface& surface, const std::string& path, std::string* error = nullptr);

}  // namespace qx
