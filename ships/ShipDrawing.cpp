// Ship::Draw and Ship::DrawShots: each sprite is composed in a box on the
// ship's work surface (backdrop, then mask AND, then image OR) and the box is
// stretched onto the destination in one copy. The box's margin of backdrop
// wipes where the sprite was drawn before.
#include "common/Arena.h"
#include "gfx/ArenaBlit.h"
#include "gfx/Blit.h"
#include "ships/Ship.h"

namespace qx {
namespace {

constexpr int32_t kShipBoxWidth = 68;
constexpr int32_t kShipBoxHeight = 39;
constexpr int32_t kShipMargin = 9;
constexpr int32_t kSpriteWidth = 50;
constexpr int32_t kSpriteHeight = 21;

}  // namespace

Box ShotBox(const Shot& shot) {
    Box box{shot.x - shot.width / 2 - 2, shot.y - shot.height / 2 - 2, 0, 0};
    int32_t right = shot.x + shot.width / 2 + 2;
    int32_t bottom = shot.y + shot.height / 2 + 2;
    if (shot.prevX != shot.x || shot.prevY != shot.y) {
        // Grow the box back along the step so it covers the previous picture.
        if (shot.dy > 0) box.y -= shot.dy;
        if (shot.dy < 0) bottom -= shot.dy;
        if (shot.dx > 0) box.x -= shot.dx;
        if (shot.dx < 0) right -= shot.dx;
    }
    box.w = right - box.x;
    box.h = bottom - box.y;
    return box;
}

void Ship::Draw(const PaddedBackdrop& backdrop, Rect clientRect, Surface& dc) {
    const Box box{x - 34, y - 19, kShipBoxWidth, kShipBoxHeight};
    backdrop.CopyTo(workBitmap, 0, 0, box);
    ComposeSprite(workBitmap, kShipMargin, kShipMargin, kSpriteWidth, kSpriteHeight, *mask,
                  *sprite);
    StretchToClient(dc, clientRect, workBitmap, 0, 0, box);
}

void Ship::DrawShots(const PaddedBackdrop& backdrop, Rect clientRect, Surface& dc) {
    for (Shot& shot : shots) {
        if (!shot.IsActive()) continue;
        const int direction = shot.dx < 0 ? 1 : 0;
        const Box box = ShotBox(shot);
        backdrop.CopyTo(workBitmap, 0, 0, box);
        const int32_t ox = shot.x - shot.width / 2 - box.x;
        const int32_t oy = shot.y - shot.height / 2 - box.y;
        ComposeSprite(workBitmap, ox, oy, shot.width, shot.height,
                      sprites.shotSprites[direction][shot.maskIndex],
                      sprites.shotSprites[direction][shot.spriteIndex]);
        StretchToClient(dc, clientRect, workBitmap, 0, 0, box);
        shot.prevX = shot.x;
        shot.prevY = shot.y;
    }
}

}  // namespace qx
