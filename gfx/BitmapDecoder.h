#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "gfx/Surface.h"

// Decodes device-independent bitmaps as Windows stores them: a BMP file
// (BITMAPFILEHEADER + BITMAPINFOHEADER) or a packed DIB (BITMAPINFOHEADER
// first), 1, 4 or 8 bits per pixel with a colour table or 24 and 32 bits
// per pixel (blue, green, red[, unused]), bottom-up or top-down,
// uncompressed. Colours come from the table, so a 1-bit mask with the table
// [black, white] decodes to 0x000000 / 0xFFFFFF; every pixel is stored
// opaque.
namespace qx {

struct DecodedBitmap {
    bool ok = false;
    std::string error;  // why decoding failed; empty when ok
    int bitsPerPixel = 0;
    Surface surface;
};

DecodedBitmap DecodeBitmap(const uint8_t* data, size_t size);

}  // namespace qx
