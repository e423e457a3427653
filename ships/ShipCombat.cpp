// Ship::CheckShotsAgainst: this ship's shots against the other ship, and the
// removal of shots that hit or leave the scene.
#include <cstdlib>

#include "common/Arena.h"
#include "common/Random.h"
#include "panel/EraseFromBackdrop.h"
#include "ships/Ship.h"

namespace qx {
namespace {

bool HasLeftScene(const Shot& shot, int32_t ownerEnergy) {
    return ownerEnergy <= -50 || shot.y <= 40 || shot.y >= 370 ||
           shot.prevX >= kArenaWidth + shot.width || shot.prevX <= -shot.width;
}

}  // namespace

bool Ship::CheckShotsAgainst(const PaddedBackdrop& backdrop, Rect clientRect, Surface& dc,
                             Ship& target, int32_t facing) {
    bool tookEnergy = false;
    for (Shot& shot : shots) {
        if (!shot.IsActive()) continue;
        const int32_t across = std::abs(shot.x - target.x);
        const int32_t upright = std::abs(shot.y - target.y);
        const bool hit = across <= shot.width + 25 && upright <= shot.height + 10;
        if (hit && target.energy > 0) {
            const int32_t left = target.energy - (shot.damageX + shot.damageY - across - upright);
            target.energy = left < 0 ? 0 : left;
            target.ShowHit(facing, RandomBelow(3));
            tookEnergy = true;
        }
        if (hit || HasLeftScene(shot, energy)) {
            EraseFromBackdrop(dc, clientRect, backdrop, shot.prevX, shot.prevY, shot.width,
                              shot.height);
            shot.x = kInactiveShotX;
        }
    }
    return tookEnergy;
}

}  // namespace qx
