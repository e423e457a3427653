#include "gfx/BitmapDecoder.h"

#include <limits>
#include <vector>

// Every size and offset read from the data is checked against the bytes
// actually present before it is used, in 64-bit arithmetic that no 32-bit
// field value can overflow.
namespace qx {
namespace {

constexpr uint64_t kFileHeaderSize = 14;
constexpr int64_t kMaxSide = 16384;
constexpr int64_t kMaxPixels = int64_t{1} << 26;  // 64 Mpixels, 256 MB decoded
constexpr uint32_t kUncompressed = 0;             // BI_RGB

uint32_t Read16(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (uint32_t{p[1]} << 8);
}

uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
           (uint32_t{p[3]} << 24);
}

int64_t ReadSigned32(const uint8_t* p) {
    const uint32_t u = Read32(p);
    return u <= 0x7FFFFFFFu ? int64_t{u} : int64_t{u} - (int64_t{1} << 32);
}

// A BGR(x) triple as a stored, opaque pixel.
uint32_t BgrToPixel(const uint8_t* p) {
    return kOpaque | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | uint32_t{p[0]};
}

std::string Str(int64_t v) {
    return std::to_string(v);
}

// BITMAPINFOHEADER, its two extensions with colour masks, V4 and V5; whatever
// follows the first 40 bytes is skipped.
bool KnownInfoHeaderSize(uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// What the headers say, validated against the data.
struct Layout {
    int64_t width = 0;
    int64_t height = 0;  // always positive; topDown tells the row order
    bool topDown = false;
    int bitsPerPixel = 0;
    std::vector<uint32_t> palette;
    uint64_t pixelOffset = 0;
    uint64_t rowBytes = 0;  // padded to a multiple of 4
};

std::string CheckSize(int64_t width, int64_t height, Layout& layout) {
    if (width <= 0) return "width " + Str(width) + " is not positive";
    if (height == 0) return "height is zero";
    if (height == std::numeric_limits<int32_t>::min())
        return "height " + Str(height) + " is invalid";
    layout.width = width;
    layout.topDown = height < 0;
    layout.height = height < 0 ? -height : height;
    if (layout.width > kMaxSide || layout.height > kMaxSide ||
        layout.width * layout.height > kMaxPixels)
        return "size " + Str(layout.width) + " x " + Str(layout.height) + " is too large";
    return {};
}

std::string CheckFormat(const uint8_t* info, Layout& layout) {
    const uint32_t planes = Read16(info + 12);
    const uint32_t bits = Read16(info + 14);
    const uint32_t compression = Read32(info + 16);
    if (planes != 1) return "plane count " + Str(planes) + " is not 1";
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return "unsupported depth of " + Str(bits) + " bits per pixel";
    if (compression != kUncompressed)
        return "unsupported compression " + Str(compression) + " (only uncompressed data)";
    layout.bitsPerPixel = static_cast<int>(bits);
    layout.rowBytes = (static_cast<uint64_t>(layout.width) * bits + 31) / 32 * 4;
    return {};
}

// Reads the colour table at tableStart (BGRx entries) and sets tableEnd. A
// table given with 24 or 32 bits per pixel only hints at display colours and
// is skipped.
std::string ReadPalette(const uint8_t* data, size_t size, uint64_t tableStart, uint32_t clrUsed,
                        Layout& layout, uint64_t& tableEnd) {
    uint64_t entries = clrUsed;
    if (layout.bitsPerPixel <= 8) {
        const uint64_t full = uint64_t{1} << layout.bitsPerPixel;
        if (entries > full)
            return "colour table of " + Str(clrUsed) + " entries is larger than " +
                   Str(static_cast<int64_t>(full));
        if (entries == 0) entries = full;
    }
    tableEnd = tableStart + entries * 4;
    if (tableEnd > size) return "truncated colour table";
    if (layout.bitsPerPixel > 8) return {};
    layout.palette.resize(entries);
    for (uint64_t i = 0; i < entries; ++i)
        layout.palette[i] = BgrToPixel(data + tableStart + i * 4);
    return {};
}

std::string CheckPixelData(size_t size, bool isFile, uint64_t tableEnd, const Layout& layout) {
    if (isFile && layout.pixelOffset < tableEnd)
        return "pixel data offset " + Str(static_cast<int64_t>(layout.pixelOffset)) +
               " lies inside the headers";
    if (layout.pixelOffset > size)
        return "pixel data offset " + Str(static_cast<int64_t>(layout.pixelOffset)) +
               " is past the end of the data";
    const uint64_t needed = layout.rowBytes * static_cast<uint64_t>(layout.height);
    if (needed > size - layout.pixelOffset)
        return "truncated pixel data: " + Str(static_cast<int64_t>(needed)) + " bytes needed, " +
               Str(static_cast<int64_t>(size - layout.pixelOffset)) + " present";
    return {};
}

std::string ParseLayout(const uint8_t* data, size_t size, Layout& layout) {
    const bool isFile = size >= 2 && data[0] == 'B' && data[1] == 'M';
    const uint64_t infoStart = isFile ? kFileHeaderSize : 0;
    if (size < infoStart + 4) return isFile ? "truncated file header" : "truncated bitmap header";
    const uint8_t* info = data + infoStart;
    const uint32_t infoSize = Read32(info);
    if (!KnownInfoHeaderSize(infoSize)) return "unsupported bitmap header size " + Str(infoSize);
    if (size - infoStart < infoSize) return "truncated bitmap header";

    std::string error = CheckSize(ReadSigned32(info + 4), ReadSigned32(info + 8), layout);
    if (error.empty()) error = CheckFormat(info, layout);
    uint64_t tableEnd = 0;
    if (error.empty())
        error = ReadPalette(data, size, infoStart + infoSize, Read32(info + 32), layout, tableEnd);
    if (!error.empty()) return error;
    layout.pixelOffset = isFile ? Read32(data + 10) : tableEnd;
    return CheckPixelData(size, isFile, tableEnd, layout);
}

// Decodes one row of palette indices; fails on an index past the table.
std::string DecodeIndexedRow(const uint8_t* row, const Layout& layout, uint32_t* out) {
    const int bits = layout.bitsPerPixel;
    const uint32_t valueMask = (1u << bits) - 1;
    const uint64_t count = layout.palette.size();
    for (int64_t x = 0; x < layout.width; ++x) {
        const uint64_t bit = static_cast<uint64_t>(x) * static_cast<uint64_t>(bits);
        const int shift = 8 - bits - static_cast<int>(bit % 8);
        const uint32_t index = (uint32_t{row[bit / 8]} >> shift) & valueMask;
        if (index >= count)
            return "palette index " + Str(index) + " is past the " +
                   Str(static_cast<int64_t>(count)) + "-entry colour table";
        out[x] = layout.palette[index];
    }
    return {};
}

void DecodeDirectRow(const uint8_t* row, const Layout& layout, uint32_t* out) {
    const int64_t step = layout.bitsPerPixel / 8;
    for (int64_t x = 0; x < layout.width; ++x) out[x] = BgrToPixel(row + x * step);
}

std::string DecodeRows(const uint8_t* data, const Layout& layout, Surface& surface) {
    for (int64_t r = 0; r < layout.height; ++r) {
        const uint8_t* row = data + layout.pixelOffset + static_cast<uint64_t>(r) * layout.rowBytes;
        const int64_t y = layout.topDown ? r : layout.height - 1 - r;
        uint32_t* out = surface.Row(static_cast<int>(y));
        if (layout.bitsPerPixel > 8) {
            DecodeDirectRow(row, layout, out);
            continue;
        }
        std::string error = DecodeIndexedRow(row, layout, out);
        if (!error.empty()) return error;
    }
    return {};
}

}  // namespace

DecodedBitmap DecodeBitmap(const uint8_t* data, size_t size) {
    DecodedBitmap result;
    if (data == nullptr) size = 0;
    Layout layout;
    result.error = ParseLayout(data, size, layout);
    if (!result.error.empty()) return result;
    Surface surface(static_cast<int>(layout.width), static_cast<int>(layout.height));
    result.error = DecodeRows(data, layout, surface);
    if (!result.error.empty()) return result;
    result.ok = true;
    result.bitsPerPixel = layout.bitsPerPixel;
    result.surface = std::move(surface);
    return result;
}

}  // namespace qx
