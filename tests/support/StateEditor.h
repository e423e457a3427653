#pragma once

// Sets up game situations in tests: ships and the meteor placed where a test
// needs them, without playing the game there.
#include "meteor/Meteor.h"
#include "ships/Ship.h"

namespace qx {

class ShipEditor {
  public:
    explicit ShipEditor(Ship& ship) : s(ship) {}
    ShipEditor& At(int32_t x, int32_t y) {
        s.x_ = s.prevX_ = x;
        s.y_ = s.prevY_ = y;
        return *this;
    }
    ShipEditor& Target(int32_t x, int32_t y) {
        s.targetX_ = x;
        s.targetY_ = y;
        return *this;
    }
    ShipEditor& Energy(int32_t energy) {
        s.energy_ = energy;
        return *this;
    }
    ShipEditor& Wins(int32_t wins) {
        s.wins_ = wins;
        return *this;
    }
    ShipEditor& Shot(int i, const qx::Shot& shot) {
        s.shots_[i] = shot;
        return *this;
    }

  private:
    Ship& s;
};

class MeteorEditor {
  public:
    explicit MeteorEditor(Meteor& meteor) : m(meteor) {}
    MeteorEditor& At(int32_t x, int32_t y, int32_t dx = 0, int32_t dy = 0) {
        m.x_ = m.prevX_ = x;
        m.y_ = m.prevY_ = y;
        m.dx_ = dx;
        m.dy_ = dy;
        return *this;
    }

  private:
    Meteor& m;
};

}  // namespace qx
