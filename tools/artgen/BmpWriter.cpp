#include "BmpWriter.h"

#include <fstream>

namespace artgen {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Packs one row of indices into bytes, most significant bits first, padded
// to a multiple of four bytes.
void PutRow(std::vector<uint8_t>& out, const IndexedPicture& p, int y, uint32_t stride) {
    const size_t start = out.size();
    out.resize(start + stride, 0);
    const int bpp = p.bitsPerPixel;
    const int perByte = 8 / bpp;
    for (int x = 0; x < p.width; ++x) {
        const uint8_t index = p.pixels[static_cast<size_t>(y) * p.width + x];
        const int shift = 8 - bpp * (x % perByte + 1);
        out[start + static_cast<size_t>(x / perByte)] |=
            static_cast<uint8_t>((index & ((1 << bpp) - 1)) << shift);
    }
}

}  // namespace

std::vector<uint8_t> BmpWriter::Encode(const IndexedPicture& p) {
    const uint32_t tableEntries = 1u << p.bitsPerPixel;
    const uint32_t stride = ((static_cast<uint32_t>(p.width) * p.bitsPerPixel + 31) / 32) * 4;
    const uint32_t imageSize = stride * static_cast<uint32_t>(p.height);
    const uint32_t offset = 14 + 40 + 4 * tableEntries;

    std::vector<uint8_t> out;
    out.reserve(offset + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageSize);
    Put32(out, 0);  // two reserved words
    Put32(out, offset);

    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(p.width));
    Put32(out, static_cast<uint32_t>(p.height));  // positive height: bottom-up rows
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(p.bitsPerPixel));
    Put32(out, 0);  // BI_RGB, uncompressed
    Put32(out, imageSize);
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, 0);  // all table entries are in use
    Put32(out, 0);

    for (uint32_t i = 0; i < tableEntries; ++i) {
        const uint32_t c = i < p.palette.size() ? p.palette[i] : 0;
        out.push_back(static_cast<uint8_t>(c & 0xFF));
        out.push_back(static_cast<uint8_t>((c >> 8) & 0xFF));
        out.push_back(static_cast<uint8_t>((c >> 16) & 0xFF));
        out.push_back(0);
    }
    for (int y = p.height - 1; y >= 0; --y) PutRow(out, p, y, stride);
    return out;
}

bool BmpWriter::WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace artgen
