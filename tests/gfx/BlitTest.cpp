#include "gfx/Blit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

namespace qx {
namespace {

constexpr uint32_t kDst = 0x5A5A5A;

// A source whose every pixel differs from the others and from black.
Surface Numbered(int w, int h) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.SetPixel(x, y, 0x800000u | static_cast<uint32_t>(y << 8 | x));
    return s;
}

// The source pixel at 64-bit coordinates, black outside the surface.
uint32_t SourceAt(const Surface& src, int64_t x, int64_t y) {
    if (x < 0 || y < 0 || x >= src.Width() || y >= src.Height()) return 0;
    return src.Pixel(static_cast<int>(x), static_cast<int>(y));
}

uint32_t Apply(uint32_t d, uint32_t s, RasterOp op) {
    return op == RasterOp::Copy ? s : op == RasterOp::And ? (d & s) : (d | s);
}

// Pixel by pixel over the whole destination, straight from the definitions.
Surface ModelBlit(Surface dst, int64_t dx, int64_t dy, int64_t w, int64_t h, const Surface& src,
                  int64_t sx, int64_t sy, RasterOp op) {
    for (int y = 0; y < dst.Height(); ++y)
        for (int x = 0; x < dst.Width(); ++x) {
            const int64_t i = x - dx, j = y - dy;
            if (i < 0 || j < 0 || i >= w || j >= h) continue;
            dst.SetPixel(x, y, Apply(dst.Pixel(x, y), SourceAt(src, sx + i, sy + j), op));
        }
    return dst;
}

Surface ModelStretch(Surface dst, int64_t dx, int64_t dy, int64_t dw, int64_t dh,
                     const Surface& src, int64_t sx, int64_t sy, int64_t sw, int64_t sh) {
    if (sw <= 0 || sh <= 0) return dst;
    for (int y = 0; y < dst.Height(); ++y)
        for (int x = 0; x < dst.Width(); ++x) {
            const int64_t i = x - dx, j = y - dy;
            if (i < 0 || j < 0 || i >= dw || j >= dh) continue;
            dst.SetPixel(x, y, SourceAt(src, sx + i * sw / dw, sy + j * sh / dh));
        }
    return dst;
}

struct Box {
    int x, y, w, h, sx, sy;
};

// Boxes wholly outside, partly outside on each side and corner, reading
// outside the source on each side, empty or negative, and at the int limits.
const Box kBoxes[] = {
    {0, 0, 8, 6, 0, 0},
    {2, 1, 3, 2, 1, 1},
    {-3, 1, 5, 2, 0, 0},
    {6, 1, 5, 2, 0, 0},
    {1, -2, 3, 4, 0, 0},
    {1, 4, 3, 4, 0, 0},
    {-2, -2, 4, 4, 0, 0},
    {6, 4, 4, 4, 0, 0},
    {-2, 4, 4, 4, 1, 1},
    {6, -2, 4, 4, 1, 1},
    {-20, 0, 5, 5, 0, 0},
    {0, 20, 5, 5, 0, 0},
    {1, 1, 4, 3, -2, 0},
    {1, 1, 4, 3, 3, 0},
    {1, 1, 4, 3, 0, -2},
    {1, 1, 4, 3, 0, 2},
    {0, 0, 8, 6, -100, 50},
    {-1, -1, 10, 8, -1, -1},
    {1, 1, 0, 3, 0, 0},
    {1, 1, 3, 0, 0, 0},
    {1, 1, -3, 2, 0, 0},
    {1, 1, 2, INT_MIN, 0, 0},
    {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0},
    {INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 0},
    {-5, -5, INT_MAX, INT_MAX, INT_MIN, INT_MAX},
    {0, 0, INT_MAX, INT_MAX, INT_MAX, INT_MIN},
    {2, 2, 3, 3, INT_MIN, INT_MIN},
    {INT_MIN, 0, 8, 6, 0, 0},
    {0, INT_MAX, 8, 6, 0, 0},
};

TEST(Blit, MatchesThePixelModelForEveryOpAndEdge) {
    const Surface src = Numbered(5, 4);
    for (RasterOp op : {RasterOp::Copy, RasterOp::And, RasterOp::Or}) {
        for (const Box& b : kBoxes) {
            Surface dst(8, 6, kDst);
            Blit(dst, b.x, b.y, b.w, b.h, src, b.sx, b.sy, op);
            EXPECT_EQ(dst, ModelBlit(Surface(8, 6, kDst), b.x, b.y, b.w, b.h, src, b.sx, b.sy, op))
                << static_cast<int>(op) << ": " << b.x << "," << b.y << " " << b.w << "x" << b.h
                << " from " << b.sx << "," << b.sy;
        }
    }
}

TEST(Blit, SourceOutsideReadsBlack) {
    const Surface src(2, 1, 0x0000FF);
    Surface copy(3, 1, kDst), andDst(3, 1, kDst), orDst(3, 1, kDst);
    // Source columns -1, 0, 1: outside, inside, inside.
    Blit(copy, 0, 0, 3, 1, src, -1, 0, RasterOp::Copy);
    Blit(andDst, 0, 0, 3, 1, src, -1, 0, RasterOp::And);
    Blit(orDst, 0, 0, 3, 1, src, -1, 0, RasterOp::Or);
    Surface want(3, 1, 0x0000FF);
    want.SetPixel(0, 0, 0);
    EXPECT_EQ(copy, want);
    EXPECT_EQ(andDst.Pixel(0, 0), 0u);
    EXPECT_EQ(andDst.Pixel(1, 0), kDst & 0x0000FFu);
    EXPECT_EQ(orDst.Pixel(0, 0), kDst);
    EXPECT_EQ(orDst.Pixel(2, 0), kDst | 0x0000FFu);
}

TEST(StretchBlit, MapsIndicesByIntegerDivision) {
    const Surface src = Numbered(4, 4);
    const uint32_t p00 = src.Pixel(0, 0), p10 = src.Pixel(1, 0), p01 = src.Pixel(0, 1),
                   p11 = src.Pixel(1, 1);
    Surface up(4, 4, kDst);  // 2 x 2 doubled
    StretchBlit(up, 0, 0, 4, 4, src, 0, 0, 2, 2);
    EXPECT_EQ(up.Pixel(0, 0), p00);
    EXPECT_EQ(up.Pixel(1, 1), p00);
    EXPECT_EQ(up.Pixel(2, 1), p10);
    EXPECT_EQ(up.Pixel(3, 3), p11);
    EXPECT_EQ(up.Pixel(1, 2), p01);
    Surface down(2, 2, kDst);  // 4 x 4 halved: columns and rows 0 and 2
    StretchBlit(down, 0, 0, 2, 2, src, 0, 0, 4, 4);
    EXPECT_EQ(down.Pixel(1, 0), src.Pixel(2, 0));
    EXPECT_EQ(down.Pixel(1, 1), src.Pixel(2, 2));
    Surface same(4, 4, kDst);
    StretchBlit(same, 0, 0, 4, 4, src, 0, 0, 4, 4);
    EXPECT_EQ(same, src);
    Surface three(3, 1, kDst);  // 2 -> 3 columns: 0 * 2 / 3, 1 * 2 / 3, 2 * 2 / 3
    StretchBlit(three, 0, 0, 3, 1, src, 0, 0, 2, 1);
    EXPECT_EQ(three.Pixel(1, 0), p00);
    EXPECT_EQ(three.Pixel(2, 0), p10);
}

TEST(StretchBlit, MatchesThePixelModelAtEveryEdgeAndScale) {
    const Surface src = Numbered(5, 4);
    const int scales[][2] = {{1, 1}, {2, 1}, {1, 2}, {3, 5}, {7, 3}};
    for (const Box& b : kBoxes)
        for (const auto& k : scales) {
            // The destination is scaled by k[0] / k[1] against the source.
            const int sw = b.w, sh = b.h;
            const int dw =
                static_cast<int>(std::clamp<int64_t>(int64_t{b.w} * k[0] / k[1], INT_MIN, INT_MAX));
            const int dh =
                static_cast<int>(std::clamp<int64_t>(int64_t{b.h} * k[1] / k[0], INT_MIN, INT_MAX));
            Surface dst(8, 6, kDst);
            StretchBlit(dst, b.x, b.y, dw, dh, src, b.sx, b.sy, sw, sh);
            EXPECT_EQ(dst,
                      ModelStretch(Surface(8, 6, kDst), b.x, b.y, dw, dh, src, b.sx, b.sy, sw, sh))
                << b.x << "," << b.y << " " << dw << "x" << dh << " from " << b.sx << "," << b.sy
                << " " << sw << "x" << sh;
        }
}

// Rows wide enough for the 8-pixel vector path, its edges and its tails.
TEST(StretchBlit, RandomBoxesMatchTheModel) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> coord(-30, 45), size(-2, 70);
    const Surface src = Numbered(29, 7);
    for (int n = 0; n < 4000; ++n) {
        const int dx = coord(rng), dy = coord(rng), dw = size(rng), dh = size(rng);
        const int sx = coord(rng), sy = coord(rng), sw = size(rng), sh = size(rng);
        Surface dst(41, 8, kDst);
        StretchBlit(dst, dx, dy, dw, dh, src, sx, sy, sw, sh);
        ASSERT_EQ(dst, ModelStretch(Surface(41, 8, kDst), dx, dy, dw, dh, src, sx, sy, sw, sh))
            << dx << "," << dy << " " << dw << "x" << dh << " from " << sx << "," << sy << " " << sw
            << "x" << sh;
        if (dw > 0 && dh > 0 && sw > 0 && sh > 0) continue;
        EXPECT_EQ(dst, Surface(41, 8, kDst));  // an empty size leaves the destination alone
    }
}

}  // namespace
}  // namespace qx
