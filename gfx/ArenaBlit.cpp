#include "gfx/ArenaBlit.h"

#include "common/ArenaToClient.h"
#include "gfx/Blit.h"

namespace qx {

void StretchToClient(Surface& dc, Rect clientRect, const Surface& src, int sx, int sy,
                     const Box& arenaBox) {
    const Box target = ArenaToClient(arenaBox, clientRect);
    StretchBlit(dc, target.x, target.y, target.w, target.h, src, sx, sy, arenaBox.w, arenaBox.h);
}

}  // namespace qx
