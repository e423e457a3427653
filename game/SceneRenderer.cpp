#include "game/SceneRenderer.h"

#include "gfx/ArenaBlit.h"
#include "gfx/Blit.h"
#include "gfx/EraseFromBackdrop.h"
#include "gfx/PictureCatalogue.h"
#include "panel/EnergyPanel.h"
#include "ships/ShipSpriteSet.h"

namespace qx {
namespace {

// Every sprite box is smaller than this (a ship's is 68 x 39).
constexpr int kWorkSize = 200;
constexpr uint32_t kWhite = 0xFFFFFF;

// A ship mask smaller than the ship's 50 x 21 picture (the all-white 50 x 20
// one) is widened with white, so the rows it lacks stay transparent instead
// of blacking out the backdrop under the ship.
void PadShipMasks(PictureBank& pictures) {
    for (const Side side : {Side::Emperor, Side::Rebel}) {
        for (int facing = 0; facing < 2; ++facing) {
            for (int frame = 0; frame < ShipSpriteSet::kUsedFrames; ++frame) {
                pictures.PadTo(ShipSpriteSet::ShipMaskId(side, facing, frame),
                               ShipSpriteSet::kSpriteWidth, ShipSpriteSet::kSpriteHeight, kWhite);
            }
        }
    }
}

}  // namespace

SceneRenderer::SceneRenderer()
    : backdrop_(pictures_.Take(picture::kBackdrop)), work_(kWorkSize, kWorkSize) {
    PadShipMasks(pictures_);
}

void SceneRenderer::SetTarget(Surface* target) {
    target_ = target;
    client_ = target ? Rect{0, 0, target->Width(), target->Height()} : Rect{};
}

void SceneRenderer::Draw(const DrawOp& op) {
    if (!target_) return;
    Surface& dc = *target_;
    switch (op.kind) {
        case DrawKind::Backdrop:
            backdrop_.StretchTo(dc, 0, 0, client_.right, client_.bottom,
                                {0, 0, kArenaWidth, kArenaHeight});
            break;
        case DrawKind::Erase:
            EraseFromBackdrop(dc, client_, backdrop_, op.box);
            break;
        case DrawKind::Sprite:
            DrawSprite(op);
            break;
        case DrawKind::Picture:
            StretchToClient(dc, client_, pictures_.Get(op.image), 0, 0, op.box);
            break;
        case DrawKind::EnergyBar: {
            const Box source = EnergyPanel::EnergyBarSource(op.a, op.b);
            const Box target = EnergyPanel::EnergyBarTarget(client_, op.a, op.b);
            backdrop_.StretchTo(dc, target.x, target.y, target.w, target.h, source);
            break;
        }
    }
}

void SceneRenderer::DrawSprite(const DrawOp& op) {
    backdrop_.CopyTo(work_, 0, 0, op.box);
    ComposeSprite(work_, op.ox, op.oy, op.w, op.h, pictures_.Get(op.mask), pictures_.Get(op.image));
    StretchToClient(*target_, client_, work_, 0, 0, op.box);
}

}  // namespace qx
