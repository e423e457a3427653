// The meteor's fall: where a new one enters, when it is replaced, its box
// and the pictures its draws show.
#include <gtest/gtest.h>

#include "common/Random.h"
#include "meteor/Meteor.h"
#include "panel/EraseFromBackdrop.h"
#include "tests/ships/PixelProbe.h"
#include "tests/ships/ShipSetup.h"

namespace qx {
namespace {

class MeteorMotion : public ::testing::Test {
  protected:
    void SetUp() override {
        RandomSeed(2024);
        screen.Fill(test::kMarker);
    }
    // Puts the meteor at (x, y) flying with (dx, dy), whole and unhurt.
    void Place(int32_t x, int32_t y, int32_t dx, int32_t dy) {
        meteor.Respawn();
        meteor.x = meteor.prevX = x;
        meteor.y = meteor.prevY = y;
        meteor.dx = dx;
        meteor.dy = dy;
    }
    void Move() { meteor.Move(screen, test::ClientOf(600, 400), backdrop); }
    void Draw() { meteor.Draw(backdrop, test::ClientOf(600, 400), screen); }
    // The rock's picture lies at (x - 8, y - 9).
    bool ShowsPicture(int slot) const {
        return test::ShowsSprite(screen, backdrop, meteor.x - 8, meteor.y - 9, meteor.sprites[slot],
                                 meteor.masks[slot]);
    }
    Meteor meteor;
    Surface backdrop = test::PositionBackdrop();
    Surface screen{600, 400};
};

TEST(MeteorStart, FirstMeteorComesFromTheStartState) {
    RandomSeed(1);
    const Meteor meteor;
    EXPECT_EQ(meteor.x, 358);
    EXPECT_EQ(meteor.y, 50);
    EXPECT_EQ(meteor.prevX, 358);
    EXPECT_EQ(meteor.prevY, 50);
    EXPECT_EQ(meteor.dx, -6);
    EXPECT_EQ(meteor.dy, 5);
    EXPECT_EQ(meteor.hitsLeft, 5);
    EXPECT_EQ(meteor.state, MeteorState::Flying);
    EXPECT_EQ(RandomState(), test::StateAfterDraws(1, 3));
}

TEST_F(MeteorMotion, RespawnDrawsDxThenDyThenX) {
    for (uint32_t seed : {5u, 77u, 31337u, 4000000000u}) {
        RandomSeed(seed);
        const int32_t dx = RandomBelow(12) - 6;
        const int32_t dy = RandomBelow(7) + 2;
        const int32_t x = RandomBelow(300) + (dx < 0 ? 300 : 0);
        meteor.hitsLeft = -2;
        meteor.state = MeteorState::Hit;
        meteor.width = 3;
        meteor.damageX = 1;
        RandomSeed(seed);
        meteor.Respawn();
        EXPECT_EQ(meteor.dx, dx);
        EXPECT_EQ(meteor.dy, dy);
        EXPECT_EQ(meteor.x, x);
        EXPECT_EQ(meteor.y, 50);
        EXPECT_EQ(meteor.prevX, x);
        EXPECT_EQ(meteor.prevY, 50);
        EXPECT_EQ(meteor.hitsLeft, 5);
        EXPECT_EQ(meteor.state, MeteorState::Flying);
        EXPECT_EQ(meteor.width, 20);
        EXPECT_EQ(meteor.height, 20);
        EXPECT_EQ(meteor.damageX, 70);
        EXPECT_EQ(meteor.damageY, 70);
        EXPECT_EQ(RandomState(), test::StateAfterDraws(seed, 3));
    }
}

TEST_F(MeteorMotion, DriftDecidesTheHalfItEntersFrom) {
    for (int i = 0; i < 5000; ++i) {
        meteor.Respawn();
        ASSERT_GE(meteor.dx, -6);
        ASSERT_LE(meteor.dx, 5);
        ASSERT_GE(meteor.dy, 2);
        ASSERT_LE(meteor.dy, 8);
        ASSERT_GE(meteor.x, meteor.dx < 0 ? 300 : 0);
        ASSERT_LT(meteor.x, meteor.dx < 0 ? 600 : 300);
    }
}

TEST_F(MeteorMotion, StepsWhileWithinTheSideBand) {
    for (int32_t x : {610, -10}) {
        Place(x, 200, 3, 4);
        const uint32_t state = RandomState();
        Move();
        EXPECT_EQ(meteor.x, x + 3);
        EXPECT_EQ(meteor.y, 204);
        EXPECT_EQ(meteor.prevX, x);
        EXPECT_EQ(meteor.prevY, 200);
        EXPECT_EQ(RandomState(), state);
        EXPECT_EQ(test::CountChanged(screen), 0);
    }
}

TEST_F(MeteorMotion, OutsideTheSideBandIsReplacedWithoutAStep) {
    for (int32_t x : {611, -11}) {
        Place(x, 200, 3, 4);
        const uint32_t state = RandomState();
        Move();
        EXPECT_EQ(meteor.y, 50);
        EXPECT_EQ(RandomState(), test::StateAfterDraws(state, 3));
    }
}

TEST_F(MeteorMotion, ReplacedMeteorIsErasedWhereItWas) {
    Place(300, 200, 3, 4);
    meteor.hitsLeft = 0;
    Move();
    const Box erased = EraseBox(300, 200, 20, 20);
    EXPECT_EQ(test::ChangedBounds(screen), erased);
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, erased));
    EXPECT_EQ(meteor.y, 50);

    Place(300, 200, 3, 4);
    meteor.hitsLeft = -1;
    Move();
    EXPECT_EQ(meteor.y, 50);
}

TEST_F(MeteorMotion, ReachingTheGroundBreaksItForOneDraw) {
    Place(200, 370, -2, 6);
    Move();
    EXPECT_EQ(meteor.y, 376);
    EXPECT_EQ(meteor.state, MeteorState::Broken);
    Draw();
    EXPECT_TRUE(ShowsPicture(8));
    EXPECT_EQ(meteor.state, MeteorState::Flying);
    EXPECT_EQ(meteor.meteorFrame, 0);

    const uint32_t state = RandomState();
    Move();
    EXPECT_EQ(meteor.y, 50);
    EXPECT_EQ(RandomState(), test::StateAfterDraws(state, 3));
    Draw();
    EXPECT_TRUE(ShowsPicture(0));
}

TEST_F(MeteorMotion, DrawBoxCoversTheLastStep) {
    Place(300, 200, -6, 5);
    EXPECT_EQ(meteor.DrawBox(), (Box{285, 185, 34, 32}));
    Draw();
    EXPECT_EQ(test::ChangedBounds(screen), (Box{285, 185, 34, 32}));
    EXPECT_TRUE(ShowsPicture(0));
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, {285, 185, 7, 32}));

    Place(100, 100, 0, 2);
    EXPECT_EQ(meteor.DrawBox(), (Box{91, 88, 22, 26}));
}

TEST_F(MeteorMotion, HitPictureIsHeldForFiveDraws) {
    Place(300, 200, 0, 2);
    meteor.state = MeteorState::Hit;
    const uint32_t state = RandomState();
    const int slot = 5 + RandomBelow(3);
    RandomSeed(state);
    for (int draw = 1; draw <= 5; ++draw) {
        Draw();
        EXPECT_TRUE(ShowsPicture(slot)) << "draw " << draw;
    }
    EXPECT_EQ(RandomState(), test::StateAfterDraws(state, 1));
    Draw();
    EXPECT_TRUE(ShowsPicture(0));
}

TEST_F(MeteorMotion, NewHitChoosesAgainAndRestartsTheCount) {
    Place(300, 200, 0, 2);
    meteor.state = MeteorState::Hit;
    for (int draw = 0; draw < 3; ++draw) Draw();
    meteor.state = MeteorState::Hit;
    const uint32_t state = RandomState();
    const int slot = 5 + RandomBelow(3);
    RandomSeed(state);
    for (int draw = 1; draw <= 5; ++draw) {
        Draw();
        EXPECT_TRUE(ShowsPicture(slot)) << "draw " << draw;
    }
    Draw();
    EXPECT_TRUE(ShowsPicture(0));
}

TEST_F(MeteorMotion, FlyingDrawsDrawNoNumbers) {
    Place(300, 200, 1, 2);
    const uint32_t state = RandomState();
    for (int i = 0; i < 12; ++i) {
        Draw();
        Move();
    }
    EXPECT_EQ(RandomState(), state);
    EXPECT_EQ(meteor.meteorFrame, 0);
}

}  // namespace
}  // namespace qx
