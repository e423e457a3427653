#include "gfx/EraseFromBackdrop.h"

#include "gfx/ArenaBlit.h"

namespace qx {

Box EraseBox(int32_t x, int32_t y, int32_t w, int32_t h) {
    return {x - w / 2 - 3, y - h / 2 - 3, w + 6, h + 6};
}

void EraseFromBackdrop(Surface& dc, Rect clientRect, const PaddedBackdrop& backdrop,
                       const Box& box) {
    StretchToClient(dc, clientRect, backdrop.Padded(), box.x + PaddedBackdrop::kMargin,
                    box.y + PaddedBackdrop::kMargin, box);
}

}  // namespace qx
