// Meteor::CollideWithShip: the rock striking a ship, and the ship's shots
// striking the rock.
#include <cstdlib>

#include "common/Random.h"
#include "meteor/Meteor.h"
#include "panel/EraseFromBackdrop.h"
#include "ships/Ship.h"

namespace qx {

bool Meteor::CollideWithShip(const PaddedBackdrop& backdrop, Rect clientRect, Surface& dc,
                             Ship& ship, int32_t facing) {
    bool tookEnergy = false;
    const int32_t distX = std::abs(x - ship.x);
    const int32_t distY = std::abs(y - ship.y);
    if (distX <= width + 25 && distY <= height + 10) {
        if (ship.energy > 0) {
            const int32_t left = ship.energy - (damageX + damageY - distX - distY);
            ship.energy = left < 0 ? 0 : left;
            ship.ShowHit(facing, RandomBelow(3));
            tookEnergy = true;
        }
        EraseFromBackdrop(dc, clientRect, backdrop, prevX, prevY, width, height);
        Respawn();
    }
    for (Shot& shot : ship.shots) {
        const bool strikes = std::abs(x - shot.x) <= shot.width / 2 + width &&
                             std::abs(y - shot.y) <= shot.height / 2 + height;
        if (!strikes) continue;
        EraseFromBackdrop(dc, clientRect, backdrop, shot.prevX, shot.prevY, shot.width,
                          shot.height);
        shot.x = kInactiveShotX;
        --hitsLeft;
        state = hitsLeft == 0 ? MeteorState::Broken : MeteorState::Hit;
    }
    return tookEnergy;
}

}  // namespace qx
