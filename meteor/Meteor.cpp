#include "meteor/Meteor.h"

#include <cstdlib>

#include "gfx/EraseFromBackdrop.h"

namespace qx {
namespace {

constexpr int kFirstHitPicture = 5;
constexpr int kBurstPicture = 8;

}  // namespace

void Meteor::Respawn(Random& rng) {
    hitsLeft_ = 5;
    dx_ = rng.RandomBelow(12) - 6;
    dy_ = rng.RandomBelow(7) + 2;
    width_ = height_ = 20;
    damageX_ = damageY_ = 70;
    // Drifting left it enters in the right half, otherwise in the left half.
    x_ = dx_ < 0 ? rng.RandomBelow(300) + 300 : rng.RandomBelow(300);
    y_ = 50;
    prevX_ = x_;
    prevY_ = y_;
    state_ = MeteorState::Flying;
}

std::optional<Box> Meteor::Move(Random& rng) {
    if (x_ > 610 || x_ < -10 || y_ > 370 || hitsLeft_ <= 0) {
        const Box gone = EraseBox(x_, y_, width_, height_);
        Respawn(rng);
        return gone;
    }
    prevX_ = x_;
    prevY_ = y_;
    x_ += dx_;
    y_ += dy_;
    if (y_ > 370) state_ = MeteorState::Broken;
    return std::nullopt;
}

void Meteor::TakeShotHit() {
    --hitsLeft_;
    state_ = hitsLeft_ == 0 ? MeteorState::Broken : MeteorState::Hit;
}

Box Meteor::DrawBox() const {
    const int32_t ax = std::abs(dx_);
    const int32_t ay = std::abs(dy_);
    return {x_ - width_ / 2 - ax + 1, y_ - height_ / 2 - ay, width_ + 2 * ax + 2,
            height_ + 2 * ay + 2};
}

void Meteor::ChoosePicture(Random& rng) {
    if (state_ == MeteorState::Hit) {
        frame_ = kFirstHitPicture + rng.RandomBelow(3);
        frameTicks_ = 0;
    } else if (state_ == MeteorState::Broken) {
        frame_ = kBurstPicture;
        frameTicks_ = 0;
    }
}

void Meteor::AdvancePicture() {
    ++frameTicks_;
    if (frameTicks_ % 5 == 0) frame_ = 0;
    if (state_ == MeteorState::Broken) frame_ = 0;
    state_ = MeteorState::Flying;
}

}  // namespace qx
