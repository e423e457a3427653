#include "meteor/MeteorDrawing.h"

#include <cstdlib>

namespace qx {
namespace {

constexpr int kPictureIds[Meteor::kPictures] = {207, 207, 207, 207, 207, 213, 212, 214, 215};
constexpr int kMaskId = 208;

}  // namespace

int MeteorImageId(int32_t frame) {
    return frame >= 0 && frame < Meteor::kPictures ? kPictureIds[frame] : 0;
}

int MeteorMaskId() {
    return kMaskId;
}

void DrawMeteor(const Meteor& meteor, DrawSink& sink) {
    const int32_t ox = std::abs(meteor.Dx()) + 1;
    const int32_t oy = std::abs(meteor.Dy()) + 1;
    sink.Draw(DrawOp::Sprite(meteor.DrawBox(), ox, oy, meteor.Width(), meteor.Height(), kMaskId,
                             MeteorImageId(meteor.Frame())));
}

}  // namespace qx
