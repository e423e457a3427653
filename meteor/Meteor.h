#pragma once

#include <cstdint>

#include "common/Arena.h"
#include "gfx/PaddedBackdrop.h"
#include "gfx/Surface.h"
#include "meteor/MeteorState.h"

namespace qx {

class Ship;

// The one falling rock. It drifts down from the top with a random sideways
// step, breaks after five shot hits, strikes ships, and is replaced at the
// top as soon as it is gone.
class Meteor {
  public:
    static constexpr int kPictures = 9;  // 0-4 whole rock, 5-7 hit marks, 8 burst

    // Loads the pictures and places the first meteor (draws three numbers).
    Meteor();
    Meteor(const Meteor&) = delete;
    Meteor& operator=(const Meteor&) = delete;

    void Respawn();
    void Move(Surface& dc, Rect clientRect, const PaddedBackdrop& backdrop);
    void Draw(const PaddedBackdrop& backdrop, Rect clientRect, Surface& dc);
    // The meteor against one ship and that ship's shots; true when the ship
    // lost energy.
    bool CollideWithShip(const PaddedBackdrop& backdrop, Rect clientRect, Surface& dc, Ship& ship,
                         int32_t facing);

    // The arena box one draw repaints: the rock plus a margin of its step.
    Box DrawBox() const;

    int32_t x = 0;
    int32_t y = 0;
    int32_t prevX = 0;
    int32_t prevY = 0;
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t width = 20;
    int32_t height = 20;
    int32_t damageX = 70;
    int32_t damageY = 70;
    int32_t hitsLeft = 5;
    MeteorState state = MeteorState::Flying;

    // The picture slot the next draw uses, and draws since it was last set.
    int32_t meteorFrame = 0;
    int32_t meteorFrameTicks = 0;

    Surface sprites[kPictures];
    Surface masks[kPictures];

  private:
    void ChoosePicture();
    void AdvancePicture();

    Surface scratch;
};

}  // namespace qx
