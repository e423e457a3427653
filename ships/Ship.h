#pragma once

#include <array>
#include <cstdint>

#include "common/Random.h"
#include "ships/Facing.h"
#include "ships/Shot.h"
#include "ships/Side.h"
#include "ships/Weapon.h"

namespace qx {

// The picture a ship shows: a slot of its flight/explosion table or of its
// hit table, and the slot of its mask table it is cut out with. A hit
// picture keeps the mask of the frame it replaced.
struct ShipLook {
    bool hit = false;
    int32_t facing = 0;
    int32_t index = 0;  // frame (0..10) or hit variant (0..2)
    int32_t maskFacing = 0;
    int32_t maskFrame = 0;

    bool operator==(const ShipLook&) const = default;
};

// One side's ship: position, steering target, energy, reload, its five shot
// slots, the pending weapon request and the picture it shows. Both sides are
// the same record; they differ in start values. A plain value: copying a
// ship copies everything about it.
class Ship {
  public:
    static constexpr int kShotCount = 5;
    static constexpr int32_t kMinX = 50;
    static constexpr int32_t kMinY = 41;
    static constexpr int32_t kMaxX = 550;
    static constexpr int32_t kMaxY = 270;
    static constexpr int32_t kFullEnergy = 500;

    explicit Ship(Side side = Side::Emperor);

    // Start state of a round: energy, position, target, shots, picture.
    void Reset();
    // Marks every shot slot free (done once when the game starts).
    void FreeAllShots();

    // One tick: pilot, movement, reload, shot motion, firing.
    void Update(int32_t otherX, int32_t otherY, Random& rng);
    // The computer pilot's next destination somewhere in the flight area.
    void ChooseTarget(Random& rng);

    // Input: where a person steers the ship and which weapon to fire next.
    void SetTarget(int32_t tx, int32_t ty);
    void RequestFire(Weapon weapon) { fireRequest_ = weapon; }
    void SetComputer(bool computer) { computer_ = computer; }

    // Turns the ship's forward shots toward the other ship.
    void FaceShots(int32_t dx) { shotDx_ = dx; }
    void ShowFrame(Facing facing, int32_t frame);

    // The one place a ship loses energy: never below 0; shows hit picture
    // `variant`.
    void TakeDamage(int32_t damage, Facing facing, int32_t variant);
    // One step of the explosion of a ship at 0 energy or below: the frame
    // for the energy left, then 2 less.
    void StepExplosion(Facing facing);

    void AddWin() { ++wins_; }
    void ClearWins() { wins_ = 0; }

    // Frees shot slot i (a hit, or the shot left the scene).
    void RemoveShot(int i) { shots_[i].x = kInactiveShotX; }
    // Notes that every live shot has been drawn where it is now.
    void MarkShotsDrawn();

    Side GetSide() const { return side_; }
    int32_t X() const { return x_; }
    int32_t Y() const { return y_; }
    int32_t PrevX() const { return prevX_; }
    int32_t PrevY() const { return prevY_; }
    int32_t TargetX() const { return targetX_; }
    int32_t TargetY() const { return targetY_; }
    int32_t ShotDx() const { return shotDx_; }
    bool Computer() const { return computer_; }
    int32_t Energy() const { return energy_; }
    int32_t Wins() const { return wins_; }
    int32_t Reload() const { return reload_; }
    bool Moved() const { return moved_; }
    Weapon FireRequest() const { return fireRequest_; }
    const ShipLook& Look() const { return look_; }
    const std::array<Shot, kShotCount>& Shots() const { return shots_; }

    bool operator==(const Ship&) const = default;

  private:
    // Tests set up situations (a ship at a place, low on energy) through it.
    friend class ShipEditor;

    void Move(int32_t otherX, int32_t otherY);
    void MoveShotsAndAim(int32_t otherX, int32_t otherY);
    void FireForward();
    void FireUp();
    void FireDown();
    int FreeSlot() const;
    void Launch(int slot, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t height,
                int32_t spriteIndex, int32_t maskIndex, int32_t damageX, int32_t damageY);

    Side side_;
    int32_t x_ = 0;
    int32_t y_ = 0;
    int32_t prevX_ = 0;
    int32_t prevY_ = 0;
    int32_t targetX_ = 0;
    int32_t targetY_ = 0;
    int32_t shotDx_ = 0;
    bool computer_ = false;
    int32_t energy_ = kFullEnergy;
    int32_t wins_ = 0;
    int32_t reload_ = 3;
    bool moved_ = false;
    std::array<Shot, kShotCount> shots_{};
    Weapon fireRequest_ = Weapon::None;
    ShipLook look_;
};

}  // namespace qx
