#include "ships/ShipSpriteSet.h"

#include <algorithm>

#include "gfx/Blit.h"
#include "gfx/ResourceLibrary.h"

namespace qx {
namespace {

constexpr int kSpriteWidth = 50;
constexpr int kSpriteHeight = 21;
constexpr uint32_t kWhite = 0xFFFFFF;

// Resource numbers of frames 0..10, [side][facing][frame].
constexpr int kShipSpriteIds[2][2][ShipSpriteSet::kUsedFrames] = {
    {{118, 160, 161, 152, 153, 154, 155, 156, 157, 158, 144},
     {177, 178, 179, 152, 153, 154, 155, 156, 157, 158, 144}},
    {{123, 163, 164, 159, 145, 146, 147, 148, 149, 150, 151},
     {182, 183, 184, 159, 145, 146, 147, 148, 149, 150, 151}},
};
constexpr int kShipMaskIds[2][2][ShipSpriteSet::kUsedFrames] = {
    {{165, 165, 165, 165, 165, 165, 165, 165, 162, 162, 162},
     {209, 209, 209, 165, 165, 165, 165, 165, 162, 162, 162}},
    {{124, 167, 168, 169, 170, 172, 176, 175, 174, 173, 162},
     {211, 211, 211, 169, 170, 172, 176, 175, 174, 173, 162}},
};
constexpr int kHitSpriteIds[2][2][ShipSpriteSet::kUsedVariants] = {
    {{195, 196, 197}, {198, 199, 200}},
    {{201, 202, 203}, {204, 205, 206}},
};
constexpr int kShotSpriteIds[2][2][ShipSpriteSet::kUsedShotSlots] = {
    {{125, 126, 189, 190, 191, 192}, {180, 181, 189, 190, 191, 192}},
    {{185, 186, 187, 188, 193, 194}, {128, 129, 187, 188, 193, 194}},
};

int SideIndex(Side side) {
    return side == Side::Emperor ? 0 : 1;
}

// A mask smaller than the ship's 50 x 21 picture (the all-white 50 x 20 one)
// is widened with white, so the rows it lacks stay transparent instead of
// blacking out the backdrop under the ship.
Surface LoadShipMask(int id) {
    Surface loaded = LoadBitmapResource(id);
    if (loaded.Width() >= kSpriteWidth && loaded.Height() >= kSpriteHeight) return loaded;
    Surface padded(std::max(loaded.Width(), kSpriteWidth), std::max(loaded.Height(), kSpriteHeight),
                   kWhite);
    Blit(padded, 0, 0, loaded.Width(), loaded.Height(), loaded, 0, 0, RasterOp::Copy);
    return padded;
}

}  // namespace

ShipSpriteSet::ShipSpriteSet(Side side) {
    const int s = SideIndex(side);
    for (int facing = 0; facing < 2; ++facing) {
        for (int frame = 0; frame < kUsedFrames; ++frame) {
            shipSprites[facing][frame] = LoadBitmapResource(kShipSpriteIds[s][facing][frame]);
        }
    }
    for (int facing = 0; facing < 2; ++facing) {
        for (int frame = 0; frame < kUsedFrames; ++frame) {
            shipMasks[facing][frame] = LoadShipMask(kShipMaskIds[s][facing][frame]);
        }
    }
    for (int direction = 0; direction < 2; ++direction) {
        for (int slot = 0; slot < kUsedShotSlots; ++slot) {
            shotSprites[direction][slot] = LoadBitmapResource(kShotSpriteIds[s][direction][slot]);
        }
    }
    for (int facing = 0; facing < 2; ++facing) {
        for (int variant = 0; variant < kUsedVariants; ++variant) {
            hitSprites[facing][variant] = LoadBitmapResource(kHitSpriteIds[s][facing][variant]);
        }
    }
}

int ShipSpriteSet::ShipSpriteId(Side side, int facing, int frame) {
    return kShipSpriteIds[SideIndex(side)][facing][frame];
}

int ShipSpriteSet::ShipMaskId(Side side, int facing, int frame) {
    return kShipMaskIds[SideIndex(side)][facing][frame];
}

int ShipSpriteSet::HitSpriteId(Side side, int facing, int variant) {
    return kHitSpriteIds[SideIndex(side)][facing][variant];
}

int ShipSpriteSet::ShotSpriteId(Side side, int direction, int slot) {
    return kShotSpriteIds[SideIndex(side)][direction][slot];
}

}  // namespace qx
