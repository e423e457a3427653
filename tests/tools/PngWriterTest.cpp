#include "tools/png/PngWriter.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace qx {
namespace {

// Reads a PNG back with libpng as 0x00RRGGBB pixels.
Surface Decode(const std::vector<uint8_t>& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
    Surface s(static_cast<int>(image.width), static_cast<int>(image.height));
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            const uint8_t* p = &rgb[(static_cast<size_t>(y) * s.Width() + x) * 3];
            s.SetPixel(x, y, uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]);
        }
    }
    return s;
}

TEST(PngWriter, PicturesReadBackExactlyAndCompress) {
    Surface s(300, 200);
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x)
            s.SetPixel(x, y, (x / 30) * 0x1A0B05 + (y / 20) * 0x000911);
    }
    s.SetPixel(299, 199, 0xFF00FF);
    const std::vector<uint8_t> png = EncodePng(s);
    EXPECT_EQ(Decode(png), s);
    EXPECT_LT(png.size(), 300u * 200u * 3u / 10u) << "flat areas compress";
}

TEST(PngWriter, WritesFilesAndReportsFailures) {
    const Surface s(2, 2, 0xFFFFFF);
    const auto path = std::filesystem::temp_directory_path() / "quarnex_png_writer_test.png";
    std::string error;
    ASSERT_TRUE(WritePng(s, path.string(), &error)) << error;
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {}), EncodePng(s));
    std::filesystem::remove(path);

    EXPECT_FALSE(WritePng(s, "/nonexistent-dir/x.png", &error));
    EXPECT_NE(error.find("/nonexistent-dir/x.png"), std::string::npos) << error;
    EXPECT_TRUE(EncodePng(Surface()).empty());
    EXPECT_FALSE(WritePng(Surface(), path.string(), &error));
    EXPECT_FALSE(WritePng(Surface(0, 5), path.string()));
}

}  // namespace
}  // namespace qx
