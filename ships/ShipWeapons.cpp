// The three weapons: forward (3), upward (1) and downward (2) shots, each
// launched only when reloaded, alive, clear of the ship's own shots and with
// a free slot.
#include <cstdlib>

#include "ships/Ship.h"

namespace qx {

int Ship::FreeSlot() const {
    for (int i = 0; i < kShotCount; ++i) {
        if (!shots_[i].IsActive()) return i;
    }
    return -1;
}

void Ship::Launch(int slot, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t height,
                  int32_t spriteIndex, int32_t maskIndex, int32_t damageX, int32_t damageY) {
    Shot& shot = shots_[slot];
    shot.x = sx;
    shot.y = sy;
    shot.prevX = sx;
    shot.prevY = sy;
    shot.dx = dx;
    shot.dy = dy;
    shot.width = 20;
    shot.height = height;
    shot.spriteIndex = spriteIndex;
    shot.maskIndex = maskIndex;
    shot.damageX = damageX;
    shot.damageY = damageY;
    reload_ = 0;
}

void Ship::FireForward() {
    if (reload_ != 3 || energy_ < 0) return;
    for (const Shot& s : shots_) {
        if (s.IsActive() && std::abs(s.x - x_) < 65 && std::abs(s.y - y_) < 20) return;
    }
    const int slot = FreeSlot();
    if (slot < 0) return;
    const int32_t ahead = shotDx_ + (shotDx_ >= 0 ? 35 : -35);
    Launch(slot, x_ + ahead, y_, shotDx_, 0, 10, 0, 1, 75, 25);
}

void Ship::FireUp() {
    if (reload_ != 3 || energy_ < 0) return;
    if (!(y_ - 20 > 40)) return;
    for (const Shot& s : shots_) {
        if (s.IsActive() && s.y < y_ && y_ - s.y < 50 && std::abs(s.x - x_) < 20) return;
    }
    const int slot = FreeSlot();
    if (slot < 0) return;
    Launch(slot, x_, y_ - 31, 0, -10, 20, 2, 3, 40, 40);
}

void Ship::FireDown() {
    if (reload_ != 3 || energy_ < 0) return;
    for (const Shot& s : shots_) {
        if (s.IsActive() && s.y > y_ && s.y - y_ < 40 && std::abs(s.x - x_) < 20) return;
    }
    const int slot = FreeSlot();
    if (slot < 0) return;
    Launch(slot, x_, y_ + 25, 0, 10, 10, 4, 5, 45, 35);
}

}  // namespace qx
