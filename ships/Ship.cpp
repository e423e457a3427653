#include "ships/Ship.h"

namespace qx {
namespace {

struct StartValues {
    int32_t x;
    int32_t y;
    int32_t targetX;
    int32_t targetY;
    int32_t shotDx;
};

// Each ship starts at its base at the bottom of the scene and steers up.
StartValues StartOf(Side side) {
    if (side == Side::Emperor) return {170, 383, 170, 200, +10};
    return {426, 380, 426, 200, -10};
}

}  // namespace

Ship::Ship(Side side) : side(side), sprites(side) {
    const StartValues start = StartOf(side);
    x = start.x;
    y = start.y;
    targetX = start.targetX;
    targetY = start.targetY;
    shotDx = start.shotDx;
    ShowFrame(0, 0);
}

void Ship::Reset() {
    const StartValues start = StartOf(side);
    energy = 500;
    x = start.x;
    y = start.y;
    targetX = start.targetX;
    targetY = start.targetY;
    for (Shot& shot : shots) {
        shot.x = kInactiveShotX;
        shot.y = 0;
    }
    ShowFrame(0, 0);
    moved = false;
    reload = 3;
}

void Ship::CreateWorkBitmap() {
    workBitmap.Reset(kWorkSize, kWorkSize);
    for (Shot& shot : shots) shot.x = kInactiveShotX;
}

void Ship::ShowFrame(int32_t facing, int32_t frame) {
    sprite = &sprites.shipSprites[facing][frame];
    mask = &sprites.shipMasks[facing][frame];
}

void Ship::ShowHit(int32_t facing, int32_t variant) {
    sprite = &sprites.hitSprites[facing][variant];
}

}  // namespace qx
