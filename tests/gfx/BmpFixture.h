#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

// Builds small BMP files byte by byte, for the decoder's tests and the
// fuzzer's seed corpus.
namespace qx::bmp {

struct BmpSpec {
    int32_t width = 1;
    int32_t height = 1;  // negative: rows stored top-down
    uint16_t bitsPerPixel = 8;
    std::vector<uint32_t> palette;  // 0xRRGGBB, stored as BGRx; a packed DIB needs the full table
    uint32_t clrUsed = 0;           // stored as given
    std::vector<uint32_t> pixels;   // top row first: palette indices, or 0xRRGGBB above 8 bits
    bool fileHeader = true;         // false: a packed DIB
    uint32_t headerSize = 40;
};

inline BmpSpec Layout(int32_t width, int32_t height, uint16_t bits, std::vector<uint32_t> palette,
                      std::vector<uint32_t> pixels, uint32_t clrUsed = 0) {
    BmpSpec s;
    s.width = width;
    s.height = height;
    s.bitsPerPixel = bits;
    s.palette = std::move(palette);
    s.pixels = std::move(pixels);
    s.clrUsed = clrUsed;
    return s;
}

// Byte offsets of the fields of a file with a file header.
constexpr size_t kOffBits = 10;
constexpr size_t kInfo = 14;
constexpr size_t kWidth = kInfo + 4;
constexpr size_t kHeight = kInfo + 8;
constexpr size_t kPlanes = kInfo + 12;
constexpr size_t kBitCount = kInfo + 14;
constexpr size_t kCompression = kInfo + 16;
constexpr size_t kClrUsed = kInfo + 32;
constexpr size_t kPalette = kInfo + 40;

inline void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
}

inline void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    Put16(out, at, v & 0xFFFF);
    Put16(out, at + 2, v >> 16);
}

inline void PutPixel(std::vector<uint8_t>& row, int x, int bits, uint32_t v) {
    if (bits <= 8) {
        const int bit = x * bits;
        row[bit / 8] |= static_cast<uint8_t>(v << (8 - bits - bit % 8));
        return;
    }
    const int at = x * bits / 8;
    row[at] = static_cast<uint8_t>(v);
    row[at + 1] = static_cast<uint8_t>(v >> 8);
    row[at + 2] = static_cast<uint8_t>(v >> 16);
}

inline std::vector<uint8_t> MakeBmp(const BmpSpec& s) {
    const int rows = std::abs(s.height);
    const size_t rowBytes = (static_cast<size_t>(s.width) * s.bitsPerPixel + 31) / 32 * 4;
    const size_t info = s.fileHeader ? kInfo : 0;
    const size_t offBits = info + s.headerSize + s.palette.size() * 4;
    std::vector<uint8_t> out(offBits + rowBytes * static_cast<size_t>(rows), 0);
    if (s.fileHeader) {
        out[0] = 'B';
        out[1] = 'M';
        Put32(out, 2, static_cast<uint32_t>(out.size()));
        Put32(out, kOffBits, static_cast<uint32_t>(offBits));
    }
    Put32(out, info, s.headerSize);
    Put32(out, info + 4, static_cast<uint32_t>(s.width));
    Put32(out, info + 8, static_cast<uint32_t>(s.height));
    Put16(out, info + 12, 1);
    Put16(out, info + 14, s.bitsPerPixel);
    Put32(out, info + 20, static_cast<uint32_t>(rowBytes * static_cast<size_t>(rows)));
    Put32(out, info + 32, s.clrUsed);
    for (size_t i = 0; i < s.palette.size(); ++i)
        Put32(out, info + s.headerSize + i * 4, s.palette[i]);
    for (int r = 0; r < rows; ++r) {
        const int y = s.height < 0 ? r : rows - 1 - r;  // the picture row stored r-th
        std::vector<uint8_t> row(rowBytes, 0);
        for (int x = 0; x < s.width; ++x)
            PutPixel(row, x, s.bitsPerPixel, s.pixels[static_cast<size_t>(y * s.width + x)]);
        std::copy(row.begin(), row.end(),
                  out.begin() + static_cast<ptrdiff_t>(offBits + r * rowBytes));
    }
    return out;
}

}  // namespace qx::bmp
