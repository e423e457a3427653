#include "ScenePreview.h"

#include "SpriteComposer.h"
#include "gfx/Blit.h"

namespace artgen {
namespace {

struct Placed {
    int image;
    int mask;
    int cx;
    int cy;
};

}  // namespace

qx::Surface ScenePreview::Compose(const PictureSet& p) {
    const qx::Surface& backdrop = p.Bitmap(127);
    qx::Surface scene = backdrop;
    qx::Blit(scene, 0, 0, 290, 20, p.Bitmap(133), 0, 0, qx::RasterOp::Copy);
    qx::Blit(scene, 310, 0, 290, 20, p.Bitmap(134), 0, 0, qx::RasterOp::Copy);
    // The Rebel down to 350 of 500: the gap and the inner end of its panel
    // show the backdrop's top strip again.
    const int rebelEnergy = 350;
    const int coverWidth = 290 * (500 - rebelEnergy) / 500 + 20;
    qx::Blit(scene, 290, 0, coverWidth, 20, backdrop, 290, 0, qx::RasterOp::Copy);

    const Placed sprites[] = {
        {125, 126, 255, 205}, {128, 129, 345, 236}, {189, 190, 120, 150}, {193, 194, 500, 300},
        {191, 192, 205, 300}, {187, 188, 440, 110}, {207, 208, 300, 95},  {213, 208, 560, 240},
        {118, 165, 170, 383}, {123, 124, 426, 380}, {160, 165, 190, 205}, {163, 167, 400, 235},
        {147, 176, 80, 80},
    };
    for (const Placed& s : sprites) {
        const qx::Surface& image = p.Bitmap(s.image);
        SpriteComposer::Compose(scene, s.cx - image.Width() / 2, s.cy - image.Height() / 2, image,
                                p.Bitmap(s.mask));
    }
    return scene;
}

}  // namespace artgen
