#include "ships/ShipSpriteSet.h"

#include "gfx/PictureCatalogue.h"

namespace qx {
namespace {

int SideIndex(Side side) {
    return side == Side::Emperor ? 0 : 1;
}

}  // namespace

int ShipSpriteSet::ShipSpriteId(Side side, int facing, int frame) {
    return PictureInSlot(PictureTable::ShipFrame, SideIndex(side), facing, frame);
}

int ShipSpriteSet::ShipMaskId(Side side, int facing, int frame) {
    return PictureInSlot(PictureTable::ShipMask, SideIndex(side), facing, frame);
}

int ShipSpriteSet::HitSpriteId(Side side, int facing, int variant) {
    return PictureInSlot(PictureTable::ShipHit, SideIndex(side), facing, variant);
}

int ShipSpriteSet::ShotSpriteId(Side side, int direction, int slot) {
    return PictureInSlot(PictureTable::Shot, SideIndex(side), direction, slot);
}

}  // namespace qx
