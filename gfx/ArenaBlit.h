#pragma once

#include "common/Arena.h"
#include "gfx/Surface.h"

namespace qx {

// Stretches the arenaBox.w x arenaBox.h rectangle of src at (sx, sy) onto the
// client-area place of arenaBox: origin and size each scaled by the
// arena-to-client rule.
void StretchToClient(Surface& dc, Rect clientRect, const Surface& src, int sx, int sy,
                     const Box& arenaBox);

}  // namespace qx
