#pragma once

#include <cstdint>
#include <optional>

#include "common/Arena.h"
#include "common/Random.h"
#include "meteor/MeteorState.h"

namespace qx {

// The one falling rock. It drifts down from the top with a random sideways
// step, breaks after five shot hits, strikes ships, and is replaced at the
// top as soon as it is gone. A plain value.
class Meteor {
  public:
    // A meteor before its first fall; Respawn places it.
    Meteor() = default;

    // A new rock at the top (draws three numbers).
    void Respawn(Random& rng);
    // One tick's fall. A rock that has left the scene, reached the ground or
    // been shot apart is replaced by a new one instead; then the box to erase
    // where the old one was is returned.
    std::optional<Box> Move(Random& rng);
    // A shot struck the rock.
    void TakeShotHit();
    // Picture steps of one draw: the picture for what happened since the last
    // draw (a hit picture is drawn at random), then the count toward going
    // back to the plain rock (a hit picture is held for five draws, the
    // burst for one).
    void ChoosePicture(Random& rng);
    void AdvancePicture();

    // The arena box one draw repaints: the rock plus a margin of its step.
    Box DrawBox() const;

    int32_t X() const { return x_; }
    int32_t Y() const { return y_; }
    int32_t PrevX() const { return prevX_; }
    int32_t PrevY() const { return prevY_; }
    int32_t Dx() const { return dx_; }
    int32_t Dy() const { return dy_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t DamageX() const { return damageX_; }
    int32_t DamageY() const { return damageY_; }
    int32_t HitsLeft() const { return hitsLeft_; }
    MeteorState State() const { return state_; }
    int32_t Frame() const { return frame_; }
    int32_t FrameTicks() const { return frameTicks_; }

    bool operator==(const Meteor&) const = default;

  private:
    // Tests set up situations (a rock at a place) through it.
    friend class MeteorEditor;

    int32_t x_ = 0;
    int32_t y_ = 0;
    int32_t prevX_ = 0;
    int32_t prevY_ = 0;
    int32_t dx_ = 0;
    int32_t dy_ = 0;
    int32_t width_ = 20;
    int32_t height_ = 20;
    int32_t damageX_ = 70;
    int32_t damageY_ = 70;
    int32_t hitsLeft_ = 5;
    MeteorState state_ = MeteorState::Flying;
    int32_t frame_ = 0;       // the picture slot the next draw uses
    int32_t frameTicks_ = 0;  // draws since it was last set
};

}  // namespace qx
