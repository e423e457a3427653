// Ship::Update and the computer pilot: movement toward the target with the
// keep-away rules, reload, shot motion, weapon choice and firing.
#include <cstdlib>

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

void Ship::Update(int32_t otherX, int32_t otherY, Random& rng) {
    // In 64 bits: a target may be anywhere a 32-bit number reaches (a mouse
    // far outside the window, a replay), and the distance must not overflow.
    const bool atTarget =
        std::abs(int64_t{x_} - targetX_) < kStep && std::abs(int64_t{y_} - targetY_) < kStep;
    if (computer_ && (atTarget || !moved_)) ChooseTarget(rng);

    prevX_ = x_;
    prevY_ = y_;
    if (energy_ > 0) Move(otherX, otherY);

    if (reload_ < 3) ++reload_;
    MoveShotsAndAim(otherX, otherY);

    switch (fireRequest_) {
        case Weapon::Forward:
            FireForward();
            break;
        case Weapon::Down:
            FireDown();
            break;
        case Weapon::Up:
            FireUp();
            break;
        case Weapon::None:
            break;
    }
    fireRequest_ = Weapon::None;
}

void Ship::Move(int32_t otherX, int32_t otherY) {
    if (x_ < targetX_ && x_ < kMaxX &&
        !(otherX >= x_ && BlocksHorizontal(otherX, otherY, x_, y_))) {
        x_ += kStep;
    }
    if (x_ > targetX_ && x_ > kMinX &&
        !(otherX <= x_ && BlocksHorizontal(otherX, otherY, x_, y_))) {
        x_ -= kStep;
    }
    if (y_ < targetY_ && y_ < kMaxY && !(otherY >= y_ && BlocksVertical(otherX, otherY, x_, y_))) {
        y_ += kStep;
    }
    if (((y_ > targetY_ && y_ > kMinY + kStep) || y_ > kMaxY) &&
        !(otherY <= y_ && BlocksVertical(otherX, otherY, x_, y_))) {
        y_ -= kStep;
    }
    if (y_ < kMinY + kStep) y_ = kMinY + kStep;
    moved_ = x_ != prevX_ || y_ != prevY_;
}

void Ship::MoveShotsAndAim(int32_t otherX, int32_t otherY) {
    for (Shot& shot : shots_) {
        if (shot.IsActive()) {
            shot.x += shot.dx;
            shot.y += shot.dy;
        } else if (energy_ > 0 && computer_) {
            const int32_t across = std::abs(x_ - otherX) / 10;
            const int32_t upright = std::abs(y_ - otherY) / 5;
            if (across > upright) {
                fireRequest_ = Weapon::Forward;
            } else if (y_ < otherY) {
                fireRequest_ = Weapon::Down;
            } else {
                fireRequest_ = Weapon::Up;
            }
        }
    }
}

void Ship::ChooseTarget(Random& rng) {
    targetX_ = kMinX + rng.RandomBelow(kMaxX - kMinX);
    targetY_ = kMinY + rng.RandomBelow(kMaxY - kMinY);
}

}  // namespace qx
