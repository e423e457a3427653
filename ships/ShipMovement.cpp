// Ship::Update and the computer pilot: movement toward the target with the
// keep-away rules, reload, shot motion, weapon choice and firing.
#include <cstdlib>

#include "common/Random.h"
#include "ships/Ship.h"

namespace qx {
namespace {

constexpr int32_t kStep = 8;

// The other ship blocks a horizontal step when it is within 66 across and
// 29 upright on that side; a vertical step when within 37 upright and 58
// across.
bool BlocksHorizontal(int32_t otherX, int32_t otherY, int32_t x, int32_t y) {
    return std::abs(otherX - x) <= 66 && std::abs(otherY - y) <= 29;
}

bool BlocksVertical(int32_t otherX, int32_t otherY, int32_t x, int32_t y) {
    return std::abs(otherY - y) <= 37 && std::abs(otherX - x) <= 58;
}

}  // namespace

void Ship::Update(int32_t otherX, int32_t otherY) {
    const bool atTarget = std::abs(x - targetX) < kStep && std::abs(y - targetY) < kStep;
    if (computer && (atTarget || !moved)) ChooseTarget();

    prevX = x;
    prevY = y;
    if (energy > 0) Move(otherX, otherY);

    if (reload < 3) ++reload;
    MoveShotsAndAim(otherX, otherY);

    if (fireRequest == 3) {
        FireForward();
    } else if (fireRequest == 2) {
        FireDown();
    } else if (fireRequest == 1) {
        FireUp();
    }
    fireRequest = 0;
}

void Ship::Move(int32_t otherX, int32_t otherY) {
    if (x < targetX && x < maxX && !(otherX >= x && BlocksHorizontal(otherX, otherY, x, y))) {
        x += kStep;
    }
    if (x > targetX && x > minX && !(otherX <= x && BlocksHorizontal(otherX, otherY, x, y))) {
        x -= kStep;
    }
    if (y < targetY && y < maxY && !(otherY >= y && BlocksVertical(otherX, otherY, x, y))) {
        y += kStep;
    }
    if (((y > targetY && y > minY + kStep) || y > maxY) &&
        !(otherY <= y && BlocksVertical(otherX, otherY, x, y))) {
        y -= kStep;
    }
    if (y < minY + kStep) y = minY + kStep;
    moved = x != prevX || y != prevY;
}

void Ship::MoveShotsAndAim(int32_t otherX, int32_t otherY) {
    for (Shot& shot : shots) {
        if (shot.IsActive()) {
            shot.x += shot.dx;
            shot.y += shot.dy;
        } else if (energy > 0 && computer) {
            const int32_t across = std::abs(x - otherX) / 10;
            const int32_t upright = std::abs(y - otherY) / 5;
            if (across > upright) {
                fireRequest = 3;
            } else if (y < otherY) {
                fireRequest = 2;
            } else {
                fireRequest = 1;
            }
        }
    }
}

void Ship::ChooseTarget() {
    targetX = minX + RandomBelow(maxX - minX);
    targetY = minY + RandomBelow(maxY - minY);
}

}  // namespace qx
