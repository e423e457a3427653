// The PNG encoder for builds without libpng (the browser build): the image
// data is a zlib stream of stored (uncompressed) deflate blocks.
#include "tools/png/PngWriter.h"

#include <algorithm>
#include <array>

namespace qx {
namespace {

constexpr size_t kMaxStoredBlock = 65535;

std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    static const std::array<uint32_t, 256> table = MakeCrcTable();
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& body) {
    PutBig32(out, static_cast<uint32_t>(body.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    PutBig32(out, Crc32(out.data() + start, out.size() - start));
}

// Scanlines with filter type 0 (none) in front of each row, RGB bytes.
std::vector<uint8_t> RawScanlines(const Surface& surface) {
    const size_t width = static_cast<size_t>(surface.Width());
    std::vector<uint8_t> raw;
    raw.reserve((width * 3 + 1) * static_cast<size_t>(surface.Height()));
    for (int y = 0; y < surface.Height(); ++y) {
        raw.push_back(0);
        const uint32_t* row = surface.Row(y);
        for (size_t x = 0; x < width; ++x) {
            raw.push_back(static_cast<uint8_t>(row[x] >> 16));
            raw.push_back(static_cast<uint8_t>(row[x] >> 8));
            raw.push_back(static_cast<uint8_t>(row[x]));
        }
    }
    return raw;
}

// A zlib stream holding raw in stored (uncompressed) deflate blocks.
std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t pos = 0;
    do {
        const size_t len = std::min(kMaxStoredBlock, raw.size() - pos);
        const bool last = pos + len == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(len));
        out.push_back(static_cast<uint8_t>(len >> 8));
        out.push_back(static_cast<uint8_t>(~len));
        out.push_back(static_cast<uint8_t>(~len >> 8));
        out.insert(out.end(), raw.begin() + static_cast<ptrdiff_t>(pos),
                   raw.begin() + static_cast<ptrdiff_t>(pos + len));
        pos += len;
    } while (pos < raw.size());
    PutBig32(out, Adler32(raw));
    return out;
}

}  // namespace

std::vector<uint8_t> EncodePng(const Surface& surface) {
    if (surface.Empty()) return {};
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBig32(header, static_cast<uint32_t>(surface.Width()));
    PutBig32(header, static_cast<uint32_t>(surface.Height()));
    header.insert(header.end(),
                  {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, filter method 0, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", ZlibStored(RawScanlines(surface)));
    PutChunk(png, "IEND", {});
    return png;
}

}  // namespace qx
