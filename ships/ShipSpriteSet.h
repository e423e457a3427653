#pragma once

#include "gfx/Surface.h"
#include "ships/Side.h"

namespace qx {

// All pictures one ship is drawn with, loaded from the compiled-in bitmaps.
// Tables are indexed [facing][frame], [facing][variant] and
// [direction][slot]; slots that the game never uses stay empty.
class ShipSpriteSet {
  public:
    static constexpr int kFrames = 15;  // 0-2 flying, 3-9 explosion, 10 empty
    static constexpr int kUsedFrames = 11;
    static constexpr int kVariants = 6;  // hit pictures, 0-2 used
    static constexpr int kUsedVariants = 3;
    static constexpr int kShotSlots = 8;  // 0/1 forward, 2/3 upward, 4/5 downward
    static constexpr int kUsedShotSlots = 6;

    explicit ShipSpriteSet(Side side);

    Surface shotSprites[2][kShotSlots];
    Surface shipSprites[2][kFrames];
    Surface hitSprites[2][kVariants];
    Surface shipMasks[2][kFrames];

    // The resource numbers behind each table, for tests and the contact sheet.
    static int ShipSpriteId(Side side, int facing, int frame);
    static int ShipMaskId(Side side, int facing, int frame);
    static int HitSpriteId(Side side, int facing, int variant);
    static int ShotSpriteId(Side side, int direction, int slot);
};

}  // namespace qx
