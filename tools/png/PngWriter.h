#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/Surface.h"

// Writes a surface as a PNG picture (8-bit RGB, no interlace), compressed
// with libpng, for people to look at: the simulator's frames, contact sheets.
// Builds without libpng (the browser build) store the data uncompressed.
namespace qx {

// The whole PNG file; empty for an empty surface (PNG has no 0-pixel images).
std::vector<uint8_t> EncodePng(const Surface& surface);

// Writes EncodePng(surface) to path. On failure returns false and, when error
// is given, says why.
bool WritePng(const Surface& surface, const std::string& path, std::string* error = nullptr);

}  // namespace qx
