#include "gfx/PngWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace qx {
namespace {

uint32_t Big32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

struct Chunk {
    std::string type;
    std::vector<uint8_t> body;
};

std::vector<Chunk> Chunks(const std::vector<uint8_t>& png) {
    std::vector<Chunk> chunks;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = Big32(png, at);
        const auto body = png.begin() + static_cast<ptrdiff_t>(at + 8);
        chunks.push_back({std::string(png.begin() + static_cast<ptrdiff_t>(at + 4), body),
                          std::vector<uint8_t>(body, body + length)});
        at += 12 + length;
    }
    return chunks;
}

// Unpacks a zlib stream made of stored deflate blocks.
std::vector<uint8_t> Unstore(const std::vector<uint8_t>& z) {
    std::vector<uint8_t> raw;
    size_t at = 2;
    for (bool last = false; !last;) {
        last = z.at(at) & 1;
        EXPECT_EQ(z[at] & 6, 0) << "stored block expected";
        const size_t len = z[at + 1] | z[at + 2] << 8;
        EXPECT_EQ(len ^ 0xFFFF, size_t{z[at + 3]} | size_t{z[at + 4]} << 8);
        raw.insert(raw.end(), z.begin() + static_cast<ptrdiff_t>(at + 5),
                   z.begin() + static_cast<ptrdiff_t>(at + 5 + len));
        at += 5 + len;
    }
    EXPECT_EQ(at + 4, z.size());
    return raw;
}

TEST(PngWriter, EncodesRgbScanlinesInAValidStream) {
    Surface s(300, 80, 0x102030);  // 72080 bytes of scanlines: two stored blocks
    s.SetPixel(0, 0, 0xFF8001);
    s.SetPixel(299, 79, 0xABCDEF);
    const std::vector<uint8_t> png = EncodePng(s);
    ASSERT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 8),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', 13, 10, 26, 10}));
    const std::vector<Chunk> chunks = Chunks(png);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(Big32(chunks[0].body, 0), 300u);
    EXPECT_EQ(Big32(chunks[0].body, 4), 80u);
    EXPECT_EQ(std::vector<uint8_t>(chunks[0].body.begin() + 8, chunks[0].body.end()),
              (std::vector<uint8_t>{8, 2, 0, 0, 0}));
    EXPECT_EQ(chunks[2].type, "IEND");
    EXPECT_EQ(Big32(png, png.size() - 4), 0xAE426082u);  // the well-known CRC of IEND
    ASSERT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(chunks[1].body[0], 0x78);
    const std::vector<uint8_t> raw = Unstore(chunks[1].body);
    ASSERT_EQ(raw.size(), 80u * 901u);
    EXPECT_EQ(std::vector<uint8_t>(raw.begin(), raw.begin() + 7),
              (std::vector<uint8_t>{0, 0xFF, 0x80, 0x01, 0x10, 0x20, 0x30}));
    EXPECT_EQ(std::vector<uint8_t>(raw.end() - 3, raw.end()),
              (std::vector<uint8_t>{0xAB, 0xCD, 0xEF}));
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
