#include "SpriteComposer.h"

#include <algorithm>

#include "gfx/Blit.h"

namespace artgen {

void SpriteComposer::Compose(qx::Surface& dst, int x, int y, const qx::Surface& image,
                             const qx::Surface& mask) {
    const int w = std::min(image.Width(), mask.Width());
    const int h = std::min(image.Height(), mask.Height());
    qx::Blit(dst, x, y, w, h, mask, 0, 0, qx::RasterOp::And);
    qx::Blit(dst, x, y, image.Width(), image.Height(), image, 0, 0, qx::RasterOp::Or);
}

qx::Surface SpriteComposer::Box(const qx::Surface& backdrop, int cx, int cy, int margin,
                                const qx::Surface& image, const qx::Surface& mask) {
    const int w = image.Width() + 2 * margin;
    const int h = image.Height() + 2 * margin;
    const int left = cx - image.Width() / 2 - margin;
    const int top = cy - image.Height() / 2 - margin;
    qx::Surface box(w, h);
    qx::Blit(box, 0, 0, w, h, backdrop, left, top, qx::RasterOp::Copy);
    Compose(box, margin, margin, image, mask);
    return box;
}

}  // namespace artgen
