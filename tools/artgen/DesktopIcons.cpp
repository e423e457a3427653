#include "DesktopIcons.h"

#include <png.h>

#include <csetjmp>
#include <filesystem>
#include <fstream>

#include "IconArt.h"

namespace artgen {
namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void Flush(png_structp) {}

}  // namespace

std::vector<uint8_t> DesktopIcons::EncodePng(const std::vector<uint32_t>& argb, int size) {
    std::vector<uint8_t> out;
    if (size <= 0 || argb.size() != static_cast<size_t>(size) * size) return out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return out;
    png_infop info = png_create_info_struct(png);
    std::vector<uint8_t> row(static_cast<size_t>(size) * 4);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, Append, Flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(size), static_cast<png_uint_32>(size), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const uint32_t p = argb[static_cast<size_t>(y) * size + x];
            row[4 * x] = static_cast<uint8_t>(p >> 16);
            row[4 * x + 1] = static_cast<uint8_t>(p >> 8);
            row[4 * x + 2] = static_cast<uint8_t>(p);
            row[4 * x + 3] = static_cast<uint8_t>(p >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool DesktopIcons::WriteAll(const std::string& dir, const std::string& name, std::string& error) {
    namespace fs = std::filesystem;
    for (const int size : kSizes) {
        const std::string edge = std::to_string(size);
        const fs::path folder = fs::path(dir) / "hicolor" / (edge + "x" + edge) / "apps";
        const fs::path file = folder / (name + ".png");
        std::error_code ec;
        fs::create_directories(folder, ec);
        const std::vector<uint8_t> png = EncodePng(IconArt::DesktopShip(size), size);
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(png.data()),
                  static_cast<std::streamsize>(png.size()));
        if (png.empty() || !out.flush()) {
            error = "cannot write " + file.string();
            return false;
        }
    }
    return true;
}

}  // namespace artgen
