#pragma once

#include "ships/Side.h"

namespace qx {

// Which picture stands in each slot of a ship's tables, by resource number
// (from the picture catalogue). Tables are indexed [facing][frame],
// [facing][variant] and [direction][slot]; slots the game never uses have no
// picture (0).
class ShipSpriteSet {
  public:
    static constexpr int kFrames = 15;  // 0-2 flying, 3-9 explosion, 10 empty
    static constexpr int kUsedFrames = 11;
    static constexpr int kVariants = 6;   // hit pictures, 0-2 used
    static constexpr int kShotSlots = 8;  // 0/1 forward, 2/3 upward, 4/5 downward

    // A ship's picture is 50 x 21; its masks must cover that.
    static constexpr int kSpriteWidth = 50;
    static constexpr int kSpriteHeight = 21;

    static int ShipSpriteId(Side side, int facing, int frame);
    static int ShipMaskId(Side side, int facing, int frame);
    static int HitSpriteId(Side side, int facing, int variant);
    static int ShotSpriteId(Side side, int direction, int slot);
};

}  // namespace qx
