#include "gfx/Blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// All coordinates are widened to 64 bits before any sum or product, so no
// combination of int arguments can overflow; every range is clipped against
// both surfaces before a pointer is formed. Source and destination must be
// different surfaces (the game always composes from one bitmap into another).
namespace qx {
namespace {

// A half-open range [begin, end) of destination columns or rows.
struct Span {
    int64_t begin;
    int64_t end;
    bool Empty() const { return begin >= end; }
    int64_t Size() const { return end - begin; }
};

Span Clip(int64_t start, int64_t length, int64_t limit) {
    return {std::max<int64_t>(start, 0), std::min<int64_t>(start + length, limit)};
}

// Combines n black source pixels into d: a copy and an AND write black, an OR
// changes nothing. Black is opaque black, as every pixel is opaque: AND and OR
// of two opaque pixels are opaque again.
void CombineBlack(uint32_t* d, int64_t n, RasterOp op) {
    if (n <= 0 || op == RasterOp::Or) return;
    std::fill_n(d, n, kOpaqueBlack);
}

void Combine(uint32_t* d, const uint32_t* s, int64_t n, RasterOp op) {
    switch (op) {
        case RasterOp::Copy:
            std::memmove(d, s, static_cast<size_t>(n) * sizeof(uint32_t));
            break;
        case RasterOp::And:
            for (int64_t i = 0; i < n; ++i) d[i] &= s[i];
            break;
        case RasterOp::Or:
            for (int64_t i = 0; i < n; ++i) d[i] |= s[i];
            break;
    }
}

// How a stretch maps the clipped destination columns to source columns: the
// table.size() columns from inBegin on read source column table[k]; those
// before and after fall outside the source (the mapping never decreases, so
// the outside columns sit at the two ends).
struct ColumnMap {
    int64_t inBegin = 0;
    std::vector<int32_t> table;
    // For the vector path, per block of 8 table entries: the first source
    // column, or -1 when the block is done one pixel at a time, and the 8
    // offsets from it (blocks whose 8 pixels lie in one 8-pixel source window).
    std::vector<int32_t> blockBase;
    std::vector<int32_t> blockOffsets;
};

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QX_HAVE_AVX2_PATH 1

bool HasAvx2() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}

// 8 destination pixels per step: one load of the source window and one
// permutation, instead of 8 dependent loads.
__attribute__((target("avx2"))) void SampleBlocksAvx2(uint32_t* d, const uint32_t* srcRow,
                                                      const ColumnMap& map) {
    const size_t blocks = map.blockBase.size();
    for (size_t b = 0; b < blocks; ++b) {
        uint32_t* out = d + b * 8;
        const int32_t base = map.blockBase[b];
        if (base < 0) {
            for (size_t k = 0; k < 8; ++k) out[k] = srcRow[map.table[b * 8 + k]];
            continue;
        }
        const __m256i window = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(srcRow + base));
        const __m256i offsets =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(map.blockOffsets.data() + b * 8));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                            _mm256_permutevar8x32_epi32(window, offsets));
    }
}
#else
#define QX_HAVE_AVX2_PATH 0
bool HasAvx2() {
    return false;
}
#endif

void PlanBlocks(ColumnMap& map, int64_t srcWidth) {
    const size_t blocks = map.table.size() / 8;
    map.blockBase.assign(blocks, -1);
    map.blockOffsets.assign(blocks * 8, 0);
    for (size_t b = 0; b < blocks; ++b) {
        const int32_t* t = map.table.data() + b * 8;
        if (t[7] - t[0] > 7 || t[0] + int64_t{8} > srcWidth) continue;
        map.blockBase[b] = t[0];
        for (size_t k = 0; k < 8; ++k) map.blockOffsets[b * 8 + k] = t[k] - t[0];
    }
}

// Fills `map` (whose vectors keep their capacity from one stretch to the
// next: a tick stretches a few dozen sprites and should not allocate).
void MapColumns(ColumnMap& map, const Span& cols, int64_t dx, int64_t dw, int64_t sx, int64_t sw,
                int64_t srcWidth) {
    map.inBegin = cols.end;
    map.table.clear();
    map.blockBase.clear();
    map.blockOffsets.clear();
    map.table.reserve(static_cast<size_t>(cols.Size()));
    for (int64_t x = cols.begin; x < cols.end; ++x) {
        const int64_t column = sx + (x - dx) * sw / dw;
        if (column < 0) continue;
        if (column >= srcWidth) break;
        if (map.table.empty()) map.inBegin = x;
        map.table.push_back(static_cast<int32_t>(column));
    }
    if (HasAvx2()) PlanBlocks(map, srcWidth);
}

// One destination row (the clipped span, starting at d) from one source row.
void SampleRow(uint32_t* d, const Span& cols, const uint32_t* srcRow, const ColumnMap& map) {
    std::fill(d, d + (map.inBegin - cols.begin), kOpaqueBlack);
    uint32_t* in = d + (map.inBegin - cols.begin);
    size_t k = 0;
#if QX_HAVE_AVX2_PATH
    if (!map.blockBase.empty()) {
        SampleBlocksAvx2(in, srcRow, map);
        k = map.blockBase.size() * 8;
    }
#endif
    const size_t n = map.table.size();
    for (; k < n; ++k) in[k] = srcRow[map.table[k]];
    std::fill(in + n, d + cols.Size(), kOpaqueBlack);
}

}  // namespace

void Blit(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy,
          RasterOp op) {
    if (w <= 0 || h <= 0) return;
    const Span cols = Clip(dx, w, dst.Width());
    const Span rows = Clip(dy, h, dst.Height());
    if (cols.Empty() || rows.Empty()) return;
    dst.NoteWrite(cols.begin, rows.begin, cols.end, rows.end);

    // Source column = destination column + xShift (likewise for rows).
    const int64_t xShift = static_cast<int64_t>(sx) - dx;
    const int64_t yShift = static_cast<int64_t>(sy) - dy;
    // The destination columns whose source column lies inside src.
    const int64_t inBegin = std::clamp<int64_t>(-xShift, cols.begin, cols.end);
    const int64_t inEnd = std::clamp<int64_t>(src.Width() - xShift, inBegin, cols.end);

    for (int64_t y = rows.begin; y < rows.end; ++y) {
        uint32_t* d = dst.Row(static_cast<int>(y));
        const int64_t srcY = y + yShift;
        if (srcY < 0 || srcY >= src.Height()) {
            CombineBlack(d + cols.begin, cols.Size(), op);
            continue;
        }
        CombineBlack(d + cols.begin, inBegin - cols.begin, op);
        if (inEnd > inBegin) {
            const uint32_t* s = src.Row(static_cast<int>(srcY)) + (inBegin + xShift);
            Combine(d + inBegin, s, inEnd - inBegin, op);
        }
        CombineBlack(d + inEnd, cols.end - inEnd, op);
    }
}

void StretchBlit(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy,
                 int sw, int sh) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    if (sw == dw && sh == dh) {
        // i * sw / dw is i itself: a plain copy, row by row.
        Blit(dst, dx, dy, dw, dh, src, sx, sy, RasterOp::Copy);
        return;
    }
    const Span cols = Clip(dx, dw, dst.Width());
    const Span rows = Clip(dy, dh, dst.Height());
    if (cols.Empty() || rows.Empty()) return;
    dst.NoteWrite(cols.begin, rows.begin, cols.end, rows.end);

    thread_local ColumnMap map;
    MapColumns(map, cols, dx, dw, sx, sw, src.Width());
    const size_t rowBytes = static_cast<size_t>(cols.Size()) * sizeof(uint32_t);
    // Each source row is sampled once into a small row that stays in the
    // cache, and that row is copied to every destination row it covers: the
    // destination is written only by memcpy, which streams to memory fastest.
    thread_local std::vector<uint32_t> sampled;
    sampled.resize(static_cast<size_t>(cols.Size()));
    int64_t sampledY = -1;
    for (int64_t y = rows.begin; y < rows.end; ++y) {
        uint32_t* d = dst.Row(static_cast<int>(y)) + cols.begin;
        const int64_t srcY = sy + (y - dy) * sh / dh;
        if (srcY < 0 || srcY >= src.Height()) {
            std::fill_n(d, cols.Size(), kOpaqueBlack);
            continue;
        }
        if (srcY != sampledY) {
            SampleRow(sampled.data(), cols, src.Row(static_cast<int>(srcY)), map);
            sampledY = srcY;
        }
        std::memcpy(d, sampled.data(), rowBytes);
    }
}

void ComposeSprite(Surface& dst, int x, int y, int w, int h, const Surface& mask,
                   const Surface& image) {
    Blit(dst, x, y, w, h, mask, 0, 0, RasterOp::And);
    Blit(dst, x, y, w, h, image, 0, 0, RasterOp::Or);
}

}  // namespace qx
