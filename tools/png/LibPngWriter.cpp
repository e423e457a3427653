// The PNG encoder: libpng with deflate compression. Rows are stored without
// a filter, which compresses the game's flat art well and keeps the files
// quick to read back.
#include <png.h>

#include <csetjmp>

#include "tools/png/PngWriter.h"

namespace qx {
namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void Flush(png_structp) {}

}  // namespace

std::vector<uint8_t> EncodePng(const Surface& surface) {
    std::vector<uint8_t> out;
    if (surface.Empty()) return out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return out;
    png_infop info = png_create_info_struct(png);
    std::vector<uint8_t> row(static_cast<size_t>(surface.Width()) * 3);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, Append, Flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(surface.Width()),
                 static_cast<png_uint_32>(surface.Height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    for (int y = 0; y < surface.Height(); ++y) {
        const uint32_t* pixels = surface.Row(y);
        for (int x = 0; x < surface.Width(); ++x) {
            row[3 * x] = static_cast<uint8_t>(pixels[x] >> 16);
            row[3 * x + 1] = static_cast<uint8_t>(pixels[x] >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(pixels[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

}  // namespace qx
