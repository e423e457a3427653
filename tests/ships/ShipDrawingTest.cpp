// Ship::Draw and Ship::DrawShots: where each box lands on the client area,
// what it shows, and which shots are drawn.
#include <gtest/gtest.h>

#include "ships/Ship.h"
#include "tests/ships/PixelProbe.h"
#include "tests/ships/ShipSetup.h"

namespace qx {
namespace {

class ShipDrawing : public ::testing::Test {
  protected:
    void SetUp() override {
        test::Prepare(ship);
        test::Park(ship, 170, 200);
    }
    Surface Draw(int w, int h) {
        Surface screen(w, h, test::kMarker);
        ship.Draw(backdrop, test::ClientOf(w, h), screen);
        return screen;
    }
    Surface DrawShots(int w, int h) {
        Surface screen(w, h, test::kMarker);
        ship.DrawShots(backdrop, test::ClientOf(w, h), screen);
        return screen;
    }
    Ship ship{Side::Emperor};
    Surface backdrop = test::PositionBackdrop();
};

TEST_F(ShipDrawing, ShipBoxLandsOneToOneAt600x400) {
    const Surface screen = Draw(600, 400);
    EXPECT_EQ(test::ChangedBounds(screen), (Box{136, 181, 68, 39}));
    EXPECT_EQ(test::CountChanged(screen), 68 * 39);
}

TEST_F(ShipDrawing, ShipBoxDoublesAt1200x800) {
    EXPECT_EQ(test::ChangedBounds(Draw(1200, 800)), (Box{272, 362, 136, 78}));
}

TEST_F(ShipDrawing, ShipBoxShowsBackdropAroundTheComposedSprite) {
    ship.ShowHit(0, 1);  // a hit picture over the flying mask
    const Surface screen = Draw(600, 400);
    EXPECT_TRUE(test::ShowsSprite(screen, backdrop, 145, 190, *ship.sprite, *ship.mask));
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, {136, 181, 68, 9}));
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, {136, 211, 68, 9}));
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, {136, 190, 9, 21}));
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, {195, 190, 9, 21}));
}

TEST_F(ShipDrawing, ShipBoxHalvesAt300x200) {
    test::Park(ship, 69, 44);  // box at (35, 25)
    EXPECT_EQ(test::ChangedBounds(Draw(300, 200)), (Box{17, 12, 34, 19}));
}

TEST_F(ShipDrawing, BoxLeftOfTheArenaScalesTowardZero) {
    test::Park(ship, 29, 200);  // box left edge -5
    // -5 * 800 / 600 = -6 (not -7), width 90: the box ends at x 83.
    const Box changed = test::ChangedBounds(Draw(800, 600));
    EXPECT_EQ(changed.x, 0);
    EXPECT_EQ(changed.w, 84);
}

TEST_F(ShipDrawing, BoxPastTheArenaShowsTheSceneEdgeNotBlack) {
    test::Park(ship, 29, 200);
    const Surface screen = Draw(800, 600);
    // Column 0 samples the box's part left of the arena: it repeats the
    // backdrop's first column instead of showing black.
    for (int y = 272; y < 283; ++y) {
        const uint32_t p = screen.Pixel(0, y);
        EXPECT_EQ(p >> 10, 0u) << y;
        EXPECT_GE(p & 1023, 181u) << y;
        EXPECT_LT(p & 1023, 190u) << y;
    }
}

TEST_F(ShipDrawing, BoxBelowTheArenaIsClipped) {
    ship.Reset();  // y 383: the box reaches y 402
    EXPECT_EQ(test::ChangedBounds(Draw(600, 400)), (Box{136, 364, 68, 36}));
}

TEST_F(ShipDrawing, LastExplosionFrameLeavesOnlyBackdrop) {
    for (Side side : {Side::Emperor, Side::Rebel}) {
        Ship s(side);
        test::Prepare(s);
        test::Park(s, 300, 200);
        for (int facing : {0, 1}) {
            s.ShowFrame(facing, 10);
            Surface screen(600, 400, test::kMarker);
            s.Draw(backdrop, test::ClientOf(600, 400), screen);
            for (int y = 181; y < 220; ++y) {
                for (int x = 266; x < 334; ++x) {
                    // Nothing shows but the backdrop, at most ORed with the
                    // picture's near-black background.
                    const uint32_t diff = screen.Pixel(x, y) ^ backdrop.Pixel(x, y);
                    ASSERT_EQ(diff & ~0x040404u, 0u) << x << "," << y;
                    ASSERT_EQ(screen.Pixel(x, y) & backdrop.Pixel(x, y), backdrop.Pixel(x, y));
                }
            }
        }
    }
}

TEST(ShipPictures, ExplosionLooksTheSameWhicheverWayTheShipFaced) {
    for (Side side : {Side::Emperor, Side::Rebel}) {
        const Ship ship(side);
        const ShipSpriteSet& set = ship.Sprites();
        for (int frame = 3; frame <= 10; ++frame) {
            EXPECT_EQ(set.shipSprites[0][frame], set.shipSprites[1][frame]) << frame;
            EXPECT_EQ(set.shipMasks[0][frame], set.shipMasks[1][frame]) << frame;
        }
        EXPECT_FALSE(set.shipSprites[0][0] == set.shipSprites[1][0]);
    }
}

TEST(ShotBox, MovedForwardShotCoversWhereItWasDrawn) {
    Shot s = test::ForwardShot(300, 200);
    s.prevX = 290;
    EXPECT_EQ(ShotBox(s), (Box{278, 193, 34, 14}));
    s.prevX = 300;  // first drawing after launch
    EXPECT_EQ(ShotBox(s), (Box{288, 193, 24, 14}));
    s = test::ForwardShot(300, 200, -10);
    s.prevX = 310;
    EXPECT_EQ(ShotBox(s), (Box{288, 193, 34, 14}));
}

TEST(ShotBox, VerticalShotsGrowBackAlongTheirStep) {
    Shot up = test::UpwardShot(300, 200);
    EXPECT_EQ(ShotBox(up), (Box{288, 188, 24, 24}));
    up.prevY = 210;
    EXPECT_EQ(ShotBox(up), (Box{288, 188, 24, 34}));
    Shot down = test::DownwardShot(300, 200);
    down.prevY = 190;
    EXPECT_EQ(ShotBox(down), (Box{288, 183, 24, 24}));
}

TEST_F(ShipDrawing, ShotBoxLandsWhereItIsComputed) {
    ship.shots[0] = test::ForwardShot(300, 200);
    ship.shots[0].prevX = 290;
    Surface screen = DrawShots(600, 400);
    EXPECT_EQ(test::ChangedBounds(screen), (Box{278, 193, 34, 14}));
    EXPECT_TRUE(test::ShowsSprite(screen, backdrop, 290, 195, ship.Sprites().shotSprites[0][0],
                                  ship.Sprites().shotSprites[0][1]));
    EXPECT_EQ(ship.shots[0].prevX, 300);
    EXPECT_EQ(ship.shots[0].prevY, 200);

    screen = DrawShots(600, 400);  // drawn again where it is: only the margin
    EXPECT_EQ(test::ChangedBounds(screen), (Box{288, 193, 24, 14}));
}

TEST_F(ShipDrawing, LeftwardShotUsesTheMirroredRow) {
    ship.shotDx = -10;
    test::Park(ship, 300, 150);
    ship.FireForward();
    ASSERT_EQ(ship.shots[0].x, 255);
    const Surface screen = DrawShots(600, 400);
    EXPECT_TRUE(test::ShowsSprite(screen, backdrop, 245, 145, ship.Sprites().shotSprites[1][0],
                                  ship.Sprites().shotSprites[1][1]));
}

TEST_F(ShipDrawing, VerticalShotsUseTheirOwnSlots) {
    ship.shots[1] = test::UpwardShot(100, 100);
    ship.shots[4] = test::DownwardShot(400, 300);
    const Surface screen = DrawShots(600, 400);
    const auto& row = ship.Sprites().shotSprites[0];
    EXPECT_TRUE(test::ShowsSprite(screen, backdrop, 90, 90, row[2], row[3]));
    EXPECT_TRUE(test::ShowsSprite(screen, backdrop, 390, 295, row[4], row[5]));
    EXPECT_EQ(test::CountChanged(screen), 24 * 24 + 24 * 14);
}

TEST_F(ShipDrawing, InactiveShotIsNeitherDrawnNorTouched) {
    ship.shots[2] = test::ForwardShot(300, 200);
    ship.shots[2].x = kInactiveShotX;
    ship.shots[2].prevX = 5;
    ship.shots[2].prevY = 6;
    const Surface screen = DrawShots(600, 400);
    EXPECT_EQ(test::CountChanged(screen), 0);
    EXPECT_EQ(ship.shots[2].prevX, 5);
    EXPECT_EQ(ship.shots[2].prevY, 6);
}

}  // namespace
}  // namespace qx
