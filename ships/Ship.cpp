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

Ship::Ship(Side side) : side_(side) {
    const StartValues start = StartOf(side);
    x_ = start.x;
    y_ = start.y;
    targetX_ = start.targetX;
    targetY_ = start.targetY;
    shotDx_ = start.shotDx;
    ShowFrame(Facing::EmperorLeft, 0);
}

void Ship::Reset() {
    const StartValues start = StartOf(side_);
    energy_ = kFullEnergy;
    x_ = start.x;
    y_ = start.y;
    targetX_ = start.targetX;
    targetY_ = start.targetY;
    for (Shot& shot : shots_) {
        shot.x = kInactiveShotX;
        shot.y = 0;
    }
    ShowFrame(Facing::EmperorLeft, 0);
    moved_ = false;
    reload_ = 3;
}

void Ship::FreeAllShots() {
    for (Shot& shot : shots_) shot.x = kInactiveShotX;
}

void Ship::SetTarget(int32_t tx, int32_t ty) {
    targetX_ = tx;
    targetY_ = ty;
}

void Ship::ShowFrame(Facing facing, int32_t frame) {
    look_ = {false, FacingRow(facing), frame, FacingRow(facing), frame};
}

void Ship::TakeDamage(int32_t damage, Facing facing, int32_t variant) {
    const int32_t left = energy_ - damage;
    energy_ = left < 0 ? 0 : left;
    look_.hit = true;
    look_.facing = FacingRow(facing);
    look_.index = variant;
}

void Ship::StepExplosion(Facing facing) {
    // The explosion runs from 0 down to -60 in steps of 2, each frame shown
    // for three ticks.
    ShowFrame(facing, (energy_ < 0 ? -energy_ : energy_) / 6);
    energy_ -= 2;
}

void Ship::MarkShotsDrawn() {
    for (Shot& shot : shots_) {
        if (!shot.IsActive()) continue;
        shot.prevX = shot.x;
        shot.prevY = shot.y;
    }
}

}  // namespace qx
