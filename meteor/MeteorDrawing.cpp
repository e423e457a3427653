#include "meteor/MeteorDrawing.h"

#include <cstdlib>

#include "gfx/PictureCatalogue.h"

namespace qx {

int MeteorImageId(int32_t frame) {
    return PictureInSlot(PictureTable::MeteorFrame, 0, 0, frame);
}

void DrawMeteor(const Meteor& meteor, DrawSink& sink) {
    const int32_t ox = std::abs(meteor.Dx()) + 1;
    const int32_t oy = std::abs(meteor.Dy()) + 1;
    sink.Draw(DrawOp::Sprite(meteor.DrawBox(), ox, oy, meteor.Width(), meteor.Height(),
                             picture::kMeteorMask, MeteorImageId(meteor.Frame())));
}

}  // namespace qx
