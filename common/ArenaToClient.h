#pragma once

#include <optional>

#include "common/Arena.h"

// The one rule by which the arena is stretched over the client area:
// x * W / 600 and y * H / 400 with signed 32-bit products and division that
// truncates toward zero. A box's origin and size are scaled separately, never
// its right or bottom edge by itself.
namespace qx {

int32_t ArenaToClientX(int32_t x, const Rect& client);
int32_t ArenaToClientY(int32_t y, const Rect& client);
Box ArenaToClient(const Box& box, const Rect& client);

// The other way, for the mouse: client pixel (px, py) in arena units,
// px * 600 / W and py * 400 / H in 64 bits. Nothing when the client area is
// empty (a window shrunk to nothing has no area to map from).
std::optional<Point> ClientToArena(int32_t px, int32_t py, const Rect& client);

}  // namespace qx
