#pragma once

#include <cstdint>

#include "common/Arena.h"
#include "gfx/PaddedBackdrop.h"
#include "gfx/Surface.h"
#include "ships/ShipSpriteSet.h"
#include "ships/Shot.h"
#include "ships/Side.h"

namespace qx {

// One side's ship: position, steering target, energy, reload, its five shot
// slots, the pending weapon request and the pictures it is drawn with. Both
// sides are the same record; they differ in start values and pictures.
class Ship {
  public:
    static constexpr int kShotCount = 5;
    static constexpr int kWorkSize = 200;

    explicit Ship(Side side);
    Ship(const Ship&) = delete;  // sprite and mask point into the ship itself
    Ship& operator=(const Ship&) = delete;

    // Start state of a round: energy, position, target, shots, picture.
    void Reset();
    // Creates the work surface and marks every shot slot free.
    void CreateWorkBitmap();

    // One tick: pilot, movement, reload, shot motion, firing.
    void Update(int32_t otherX, int32_t otherY);
    void ChooseTarget();
    void FireForward();
    void FireUp();
    void FireDown();

    // Tests this ship's shots against `target`; true if energy was taken.
    bool CheckShotsAgainst(const PaddedBackdrop& backdrop, Rect clientRect, Surface& dc,
                           Ship& target, int32_t facing);

    void Draw(const PaddedBackdrop& backdrop, Rect clientRect, Surface& dc);
    void DrawShots(const PaddedBackdrop& backdrop, Rect clientRect, Surface& dc);

    Side GetSide() const { return side; }
    const ShipSpriteSet& Sprites() const { return sprites; }
    // Points sprite and mask at a frame of the ship's own tables.
    void ShowFrame(int32_t facing, int32_t frame);
    void ShowHit(int32_t facing, int32_t variant);

    int32_t x = 0;
    int32_t y = 0;
    int32_t prevX = 0;
    int32_t prevY = 0;
    int32_t targetX = 0;
    int32_t targetY = 0;
    int32_t shotDx = 0;
    int32_t minX = 50;
    int32_t minY = 41;
    int32_t maxX = 550;
    int32_t maxY = 270;
    bool computer = false;
    int32_t energy = 500;
    int32_t wins = 0;
    int32_t reload = 3;
    bool moved = false;
    Shot shots[kShotCount];
    int32_t fireRequest = 0;
    Surface workBitmap;
    const Surface* sprite = nullptr;
    const Surface* mask = nullptr;

  private:
    void Move(int32_t otherX, int32_t otherY);
    void MoveShotsAndAim(int32_t otherX, int32_t otherY);
    int FreeSlot() const;
    void Launch(int slot, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t height,
                int32_t spriteIndex, int32_t maskIndex, int32_t damageX, int32_t damageY);

    Side side;
    ShipSpriteSet sprites;
};

}  // namespace qx
