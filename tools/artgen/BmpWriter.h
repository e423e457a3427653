#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "IndexedPicture.h"

// Stores palette pictures the way the game's resources are kept: a BMP file
// (BITMAPFILEHEADER + BITMAPINFOHEADER + full colour table), bottom-up,
// uncompressed, 1, 4 or 8 bits per pixel.
namespace artgen {

class BmpWriter {
  public:
    static std::vector<uint8_t> Encode(const IndexedPicture& picture);
    // Writes the bytes to path; false if the file cannot be written.
    static bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
};

}  // namespace artgen
