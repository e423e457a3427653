#include "ships/ShipDrawing.h"

#include "ships/ShipSpriteSet.h"

namespace qx {
namespace {

constexpr int32_t kShipBoxWidth = 68;
constexpr int32_t kShipBoxHeight = 39;
constexpr int32_t kShipMargin = 9;

}  // namespace

Box ShipBox(const Ship& ship) {
    return {ship.X() - 34, ship.Y() - 19, kShipBoxWidth, kShipBoxHeight};
}

int ShipImageId(const Ship& ship) {
    const ShipLook& look = ship.Look();
    return look.hit ? ShipSpriteSet::HitSpriteId(ship.GetSide(), look.facing, look.index)
                    : ShipSpriteSet::ShipSpriteId(ship.GetSide(), look.facing, look.index);
}

int ShipMaskImageId(const Ship& ship) {
    const ShipLook& look = ship.Look();
    return ShipSpriteSet::ShipMaskId(ship.GetSide(), look.maskFacing, look.maskFrame);
}

void DrawShip(const Ship& ship, DrawSink& sink) {
    sink.Draw(DrawOp::Sprite(ShipBox(ship), kShipMargin, kShipMargin, ShipSpriteSet::kSpriteWidth,
                             ShipSpriteSet::kSpriteHeight, ShipMaskImageId(ship),
                             ShipImageId(ship)));
}

void DrawShots(const Ship& ship, DrawSink& sink) {
    for (const Shot& shot : ship.Shots()) {
        if (!shot.IsActive()) continue;
        const int direction = shot.dx < 0 ? 1 : 0;
        const Box box = ShotBox(shot);
        const int32_t ox = shot.x - shot.width / 2 - box.x;
        const int32_t oy = shot.y - shot.height / 2 - box.y;
        sink.Draw(DrawOp::Sprite(
            box, ox, oy, shot.width, shot.height,
            ShipSpriteSet::ShotSpriteId(ship.GetSide(), direction, shot.maskIndex),
            ShipSpriteSet::ShotSpriteId(ship.GetSide(), direction, shot.spriteIndex)));
    }
}

}  // namespace qx
