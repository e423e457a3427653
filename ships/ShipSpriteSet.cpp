#include "ships/ShipSpriteSet.h"

namespace qx {
namespace {

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

// The id in slot [row][col] of one side's table, or 0 outside the used slots.
template <int Used>
int Slot(const int (&table)[2][2][Used], Side side, int row, int col) {
    if (row < 0 || row > 1 || col < 0 || col >= Used) return 0;
    return table[SideIndex(side)][row][col];
}

}  // namespace

int ShipSpriteSet::ShipSpriteId(Side side, int facing, int frame) {
    return Slot(kShipSpriteIds, side, facing, frame);
}

int ShipSpriteSet::ShipMaskId(Side side, int facing, int frame) {
    return Slot(kShipMaskIds, side, facing, frame);
}

int ShipSpriteSet::HitSpriteId(Side side, int facing, int variant) {
    return Slot(kHitSpriteIds, side, facing, variant);
}

int ShipSpriteSet::ShotSpriteId(Side side, int direction, int slot) {
    return Slot(kShotSpriteIds, side, direction, slot);
}

}  // namespace qx
