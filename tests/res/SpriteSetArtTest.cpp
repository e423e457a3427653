// How the ship pictures relate to each other: the second facing mirrors the
// first, the Rebel's flying masks share one hull, and the Rebel's explosion
// masks thin out frame by frame.
#include <gtest/gtest.h>

#include <string>

#include "ResourceTestSupport.h"
#include "gfx/PictureCatalogue.h"
#include "ships/ShipSpriteSet.h"

namespace qx {
namespace {

using restest::Decode;

Surface Bitmap(int id) {
    DecodedBitmap d = Decode(ResourceKind::Bitmap, id);
    EXPECT_TRUE(d.ok) << id;
    return d.surface;
}

// The pixels of an image that differ from its background, as white on black.
Surface Shape(int id, uint32_t background) {
    const Surface image = Bitmap(id);
    Surface shape(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (image.Pixel(x, y) != background) shape.SetPixel(x, y, 0xFFFFFF);
    return shape;
}

TEST(SpriteSetArt, SecondFacingMirrorsTheFirst) {
    for (Side side : {Side::Emperor, Side::Rebel}) {
        for (int frame = 0; frame < 3; ++frame) {
            const int a = ShipSpriteSet::ShipSpriteId(side, 0, frame);
            const int b = ShipSpriteSet::ShipSpriteId(side, 1, frame);
            EXPECT_TRUE(restest::Mirrors(Bitmap(a), Bitmap(b))) << a << " / " << b;
            const int ma = ShipSpriteSet::ShipMaskId(side, 0, frame);
            const int mb = ShipSpriteSet::ShipMaskId(side, 1, frame);
            EXPECT_TRUE(restest::Mirrors(Bitmap(ma), Bitmap(mb))) << ma << " / " << mb;
        }
    }
    // The shots flying left are 16-colour copies: their colours are reduced,
    // their shapes are the mirror images of the 256-colour ones.
    EXPECT_TRUE(restest::Mirrors(Shape(125, kImageBackground8), Shape(180, kImageBackground4)));
    EXPECT_TRUE(restest::Mirrors(Shape(185, kImageBackground8), Shape(128, kImageBackground4)));
    EXPECT_TRUE(restest::Mirrors(Bitmap(126), Bitmap(181)));
    EXPECT_TRUE(restest::Mirrors(Bitmap(186), Bitmap(129)));
}

TEST(SpriteSetArt, FlyingFramesKeepOneHullOutline) {
    // Hit pictures are drawn with the current flying mask, so all three
    // light states of a facing must share the same outline.
    const Surface rebel = Bitmap(124);
    EXPECT_EQ(Bitmap(167), rebel);
    EXPECT_EQ(Bitmap(168), rebel);
    EXPECT_GT(restest::CountBlack(rebel), 300);
    EXPECT_GT(restest::CountBlack(Bitmap(165)), 300);
}

TEST(SpriteSetArt, LightStatesDiffer) {
    for (Side side : {Side::Emperor, Side::Rebel})
        for (int facing = 0; facing < 2; ++facing) {
            const Surface f0 = Bitmap(ShipSpriteSet::ShipSpriteId(side, facing, 0));
            EXPECT_NE(f0, Bitmap(ShipSpriteSet::ShipSpriteId(side, facing, 1)));
            EXPECT_NE(f0, Bitmap(ShipSpriteSet::ShipSpriteId(side, facing, 2)));
        }
}

TEST(SpriteSetArt, RebelExplosionMasksThinOutFrameByFrame) {
    int previous = restest::CountBlack(Bitmap(124)) + 1;
    for (int frame = 3; frame <= 10; ++frame) {
        const int id = ShipSpriteSet::ShipMaskId(Side::Rebel, 0, frame);
        const int black = restest::CountBlack(Bitmap(id));
        EXPECT_LT(black, previous) << "mask " << id << " of frame " << frame;
        previous = black;
    }
    EXPECT_EQ(previous, 0) << "the last frame's mask is all white";
}

TEST(SpriteSetArt, HitPicturesDifferFromTheFlyingShip) {
    for (Side side : {Side::Emperor, Side::Rebel})
        for (int facing = 0; facing < 2; ++facing)
            for (int v = 0; v < 3; ++v) {
                const int hit = ShipSpriteSet::HitSpriteId(side, facing, v);
                EXPECT_NE(Bitmap(hit), Bitmap(ShipSpriteSet::ShipSpriteId(side, facing, 0))) << hit;
            }
}

}  // namespace
}  // namespace qx
