#include "panel/EraseFromBackdrop.h"

#include "gfx/ArenaBlit.h"

namespace qx {

Box EraseBox(int32_t x, int32_t y, int32_t w, int32_t h) {
    return {x - w / 2 - 3, y - h / 2 - 3, w + 6, h + 6};
}

void EraseFromBackdrop(Surface& dc, Rect clientRect, const PaddedBackdrop& backdrop, int32_t x,
                       int32_t y, int32_t w, int32_t h) {
    const Box box = EraseBox(x, y, w, h);
    StretchToClient(dc, clientRect, backdrop.Padded(), box.x + PaddedBackdrop::kMargin,
                    box.y + PaddedBackdrop::kMargin, box);
}

}  // namespace qx
