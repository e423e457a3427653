#include "gfx/PaddedBackdrop.h"

#include <algorithm>

#include "gfx/Blit.h"

namespace qx {

PaddedBackdrop::PaddedBackdrop(const Surface& picture)
    : padded(picture.Width() + 2 * kMargin, picture.Height() + 2 * kMargin) {
    if (picture.Empty()) return;
    for (int y = 0; y < padded.Height(); ++y) {
        const int sy = std::clamp(y - kMargin, 0, picture.Height() - 1);
        uint32_t* row = padded.Row(y);
        const uint32_t* source = picture.Row(sy);
        for (int x = 0; x < padded.Width(); ++x) {
            row[x] = source[std::clamp(x - kMargin, 0, picture.Width() - 1)];
        }
    }
}

void PaddedBackdrop::CopyTo(Surface& dst, int dx, int dy, const Box& box) const {
    Blit(dst, dx, dy, box.w, box.h, padded, box.x + kMargin, box.y + kMargin, RasterOp::Copy);
}

void PaddedBackdrop::StretchTo(Surface& dst, int dx, int dy, int dw, int dh,
                               const Box& source) const {
    StretchBlit(dst, dx, dy, dw, dh, padded, source.x + kMargin, source.y + kMargin, source.w,
                source.h);
}

}  // namespace qx
