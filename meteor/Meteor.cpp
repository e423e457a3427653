#include "meteor/Meteor.h"

#include <cstdlib>

#include "common/Random.h"
#include "gfx/ArenaBlit.h"
#include "gfx/Blit.h"
#include "gfx/ResourceLibrary.h"
#include "panel/EraseFromBackdrop.h"

namespace qx {
namespace {

constexpr int kPictureIds[Meteor::kPictures] = {207, 207, 207, 207, 207, 213, 212, 214, 215};
constexpr int kMaskId = 208;
constexpr int kFirstHitPicture = 5;
constexpr int kBurstPicture = 8;
constexpr int kScratchSize = 100;

}  // namespace

Meteor::Meteor() : scratch(kScratchSize, kScratchSize) {
    for (int i = 0; i < kPictures; ++i) {
        sprites[i] = LoadBitmapResource(kPictureIds[i]);
        masks[i] = LoadBitmapResource(kMaskId);
    }
    Respawn();
}

void Meteor::Respawn() {
    hitsLeft = 5;
    dx = RandomBelow(12) - 6;
    dy = RandomBelow(7) + 2;
    width = height = 20;
    damageX = damageY = 70;
    // Drifting left it enters in the right half, otherwise in the left half.
    x = dx < 0 ? RandomBelow(300) + 300 : RandomBelow(300);
    y = 50;
    prevX = x;
    prevY = y;
    state = MeteorState::Flying;
}

void Meteor::Move(Surface& dc, Rect clientRect, const PaddedBackdrop& backdrop) {
    if (x > 610 || x < -10 || y > 370 || hitsLeft <= 0) {
        EraseFromBackdrop(dc, clientRect, backdrop, x, y, width, height);
        Respawn();
        return;
    }
    prevX = x;
    prevY = y;
    x += dx;
    y += dy;
    if (y > 370) state = MeteorState::Broken;
}

Box Meteor::DrawBox() const {
    const int32_t ax = std::abs(dx);
    const int32_t ay = std::abs(dy);
    return {x - width / 2 - ax + 1, y - height / 2 - ay, width + 2 * ax + 2, height + 2 * ay + 2};
}

void Meteor::Draw(const PaddedBackdrop& backdrop, Rect clientRect, Surface& dc) {
    ChoosePicture();
    const Box box = DrawBox();
    const int32_t ox = std::abs(dx) + 1;
    const int32_t oy = std::abs(dy) + 1;
    backdrop.CopyTo(scratch, 0, 0, box);
    ComposeSprite(scratch, ox, oy, width, height, masks[meteorFrame], sprites[meteorFrame]);
    StretchToClient(dc, clientRect, scratch, 0, 0, box);
    AdvancePicture();
}

void Meteor::ChoosePicture() {
    if (state == MeteorState::Hit) {
        meteorFrame = kFirstHitPicture + RandomBelow(3);
        meteorFrameTicks = 0;
    } else if (state == MeteorState::Broken) {
        meteorFrame = kBurstPicture;
        meteorFrameTicks = 0;
    }
}

// A hit picture is held for five draws, the burst for one.
void Meteor::AdvancePicture() {
    ++meteorFrameTicks;
    if (meteorFrameTicks % 5 == 0) meteorFrame = 0;
    if (state == MeteorState::Broken) meteorFrame = 0;
    state = MeteorState::Flying;
}

}  // namespace qx
