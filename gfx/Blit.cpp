#include "gfx/Blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

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
// changes nothing.
void CombineBlack(uint32_t* d, int64_t n, RasterOp op) {
    if (n <= 0 || op == RasterOp::Or) return;
    std::fill_n(d, n, 0u);
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

// Source column of every clipped destination column of a stretch, or -1 where
// that column falls outside the source.
std::vector<int32_t> ColumnTable(const Span& cols, int64_t dx, int64_t dw, int64_t sx, int64_t sw,
                                 int64_t srcWidth) {
    std::vector<int32_t> table(static_cast<size_t>(cols.Size()));
    for (int64_t x = cols.begin; x < cols.end; ++x) {
        const int64_t column = sx + (x - dx) * sw / dw;
        const bool inside = column >= 0 && column < srcWidth;
        table[static_cast<size_t>(x - cols.begin)] = inside ? static_cast<int32_t>(column) : -1;
    }
    return table;
}

void SampleRow(uint32_t* d, const uint32_t* srcRow, const std::vector<int32_t>& table) {
    const size_t n = table.size();
    for (size_t k = 0; k < n; ++k) {
        const int32_t column = table[k];
        d[k] = column >= 0 ? srcRow[column] : 0u;
    }
}

}  // namespace

void Blit(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy,
          RasterOp op) {
    if (w <= 0 || h <= 0) return;
    const Span cols = Clip(dx, w, dst.Width());
    const Span rows = Clip(dy, h, dst.Height());
    if (cols.Empty() || rows.Empty()) return;

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

    const std::vector<int32_t> table = ColumnTable(cols, dx, dw, sx, sw, src.Width());
    const size_t rowBytes = table.size() * sizeof(uint32_t);
    // An enlarged source row covers several destination rows in a row: it is
    // sampled once and the finished destination row copied for the others.
    const uint32_t* previous = nullptr;
    int64_t previousSrcY = 0;
    for (int64_t y = rows.begin; y < rows.end; ++y) {
        uint32_t* d = dst.Row(static_cast<int>(y)) + cols.begin;
        const int64_t srcY = sy + (y - dy) * sh / dh;
        if (srcY < 0 || srcY >= src.Height()) {
            std::fill_n(d, table.size(), 0u);
            previous = nullptr;
        } else if (previous != nullptr && srcY == previousSrcY) {
            std::memcpy(d, previous, rowBytes);
        } else {
            SampleRow(d, src.Row(static_cast<int>(srcY)), table);
            previous = d;
            previousSrcY = srcY;
        }
    }
}

}  // namespace qx
