// Meteor::CollideWithShip: the rock striking a ship, and a ship's shots
// wearing the rock down.
#include <gtest/gtest.h>

#include "common/Random.h"
#include "meteor/Meteor.h"
#include "panel/EraseFromBackdrop.h"
#include "ships/Ship.h"
#include "tests/ships/PixelProbe.h"
#include "tests/ships/ShipSetup.h"

namespace qx {
namespace {

class MeteorCollision : public ::testing::Test {
  protected:
    void SetUp() override {
        RandomSeed(606);
        test::Prepare(ship);
        test::Park(ship, 300, 200);
        Place(100, 300);
        screen.Fill(test::kMarker);
    }
    void Place(int32_t x, int32_t y) {
        meteor.Respawn();
        meteor.x = meteor.prevX = x;
        meteor.y = meteor.prevY = y;
    }
    bool Collide(int32_t facing = 0) {
        return meteor.CollideWithShip(backdrop, test::ClientOf(600, 400), screen, ship, facing);
    }
    Meteor meteor;
    Ship ship{Side::Rebel};
    Surface backdrop = test::PositionBackdrop();
    Surface screen{600, 400};
};

TEST_F(MeteorCollision, StrikesWithin45AcrossAnd30Upright) {
    Place(345, 230);
    const uint32_t state = RandomState();
    const int variant = RandomBelow(3);
    RandomSeed(state);
    EXPECT_TRUE(Collide(1));
    EXPECT_EQ(ship.energy, 435);
    EXPECT_EQ(ship.sprite, &ship.Sprites().hitSprites[1][variant]);
    EXPECT_EQ(ship.mask, &ship.Sprites().shipMasks[0][0]);
    EXPECT_EQ(meteor.y, 50);  // replaced at once
    EXPECT_EQ(RandomState(), test::StateAfterDraws(state, 4));
}

TEST_F(MeteorCollision, MissesBeyondItsReach) {
    for (const auto& [x, y] : {std::pair{346, 230}, std::pair{345, 231}, std::pair{254, 169}}) {
        Place(x, y);
        const uint32_t state = RandomState();
        EXPECT_FALSE(Collide());
        EXPECT_EQ(ship.energy, 500);
        EXPECT_EQ(meteor.x, x);
        EXPECT_EQ(meteor.y, y);
        EXPECT_EQ(RandomState(), state);
        EXPECT_EQ(test::CountChanged(screen), 0);
    }
}

TEST_F(MeteorCollision, StrikeAtTheCentreStopsEnergyAtZero) {
    ship.energy = 100;
    Place(300, 200);
    EXPECT_TRUE(Collide());
    EXPECT_EQ(ship.energy, 0);
}

TEST_F(MeteorCollision, DestroyedShipIsLeftAloneButTheMeteorIsReplaced) {
    ship.energy = 0;
    ship.ShowFrame(0, 5);
    const Surface* sprite = ship.sprite;
    Place(310, 210);
    meteor.prevX = 305;
    meteor.prevY = 204;
    const uint32_t state = RandomState();
    EXPECT_FALSE(Collide());
    EXPECT_EQ(ship.energy, 0);
    EXPECT_EQ(ship.sprite, sprite);
    EXPECT_EQ(meteor.y, 50);
    EXPECT_EQ(RandomState(), test::StateAfterDraws(state, 3));
    // Erased where it was last drawn.
    const Box erased = EraseBox(305, 204, 20, 20);
    EXPECT_EQ(test::ChangedBounds(screen), erased);
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, erased));
}

TEST_F(MeteorCollision, ShotsAreTestedAgainstTheNewMeteor) {
    Place(300, 200);
    const uint32_t state = RandomState();
    RandomBelow(3);
    const int32_t dx = RandomBelow(12) - 6;
    RandomBelow(7);
    const int32_t newX = RandomBelow(300) + (dx < 0 ? 300 : 0);
    RandomSeed(state);
    ship.shots[0] = test::UpwardShot(300, 170);  // on the old meteor
    ship.shots[1] = test::UpwardShot(newX, 60);  // on the new one
    Collide();
    EXPECT_TRUE(ship.shots[0].IsActive());
    EXPECT_FALSE(ship.shots[1].IsActive());
    EXPECT_EQ(meteor.hitsLeft, 4);
    EXPECT_EQ(meteor.state, MeteorState::Hit);
}

TEST_F(MeteorCollision, ShotReachIsHalfItsSizePlusTheRock) {
    Place(300, 100);
    ship.shots[0] = test::ForwardShot(331, 100);  // 31 across
    ship.shots[1] = test::ForwardShot(300, 126);  // 26 upright
    Collide();
    EXPECT_EQ(test::ActiveShots(ship), 2);
    EXPECT_EQ(meteor.hitsLeft, 5);

    ship.shots[0] = test::ForwardShot(330, 125);  // 30 across, 25 upright
    ship.shots[0].prevX = 320;
    ship.shots[1].x = kInactiveShotX;
    Collide();
    EXPECT_FALSE(ship.shots[0].IsActive());
    EXPECT_EQ(meteor.hitsLeft, 4);
    EXPECT_EQ(meteor.state, MeteorState::Hit);
    // The spent shot is erased where it was last drawn.
    const Box erased = EraseBox(320, 125, 20, 10);
    EXPECT_EQ(test::ChangedBounds(screen), erased);
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, erased));
}

TEST_F(MeteorCollision, LastHitBreaksItAndAFurtherHitMarksItHit) {
    Place(300, 100);
    meteor.hitsLeft = 1;
    ship.shots[2] = test::UpwardShot(300, 110);
    Collide();
    EXPECT_EQ(meteor.hitsLeft, 0);
    EXPECT_EQ(meteor.state, MeteorState::Broken);

    Place(300, 100);
    meteor.hitsLeft = 1;
    ship.shots[2] = test::UpwardShot(300, 110);
    ship.shots[4] = test::DownwardShot(290, 90);
    Collide();
    EXPECT_EQ(meteor.hitsLeft, -1);
    EXPECT_EQ(meteor.state, MeteorState::Hit);
    EXPECT_EQ(test::ActiveShots(ship), 0);
}

TEST_F(MeteorCollision, ShotOnAGroundedMeteorMarksItHit) {
    Place(300, 372);
    meteor.state = MeteorState::Broken;
    ship.shots[0] = test::DownwardShot(300, 360);
    Collide();
    EXPECT_EQ(meteor.hitsLeft, 4);
    EXPECT_EQ(meteor.state, MeteorState::Hit);
}

TEST_F(MeteorCollision, InactiveShotNeverStrikes) {
    Place(615, 100);
    for (Shot& s : ship.shots) {
        s = test::ForwardShot(620, 100);
        s.x = kInactiveShotX;
    }
    Collide();
    EXPECT_EQ(meteor.hitsLeft, 5);
    EXPECT_EQ(meteor.state, MeteorState::Flying);
    EXPECT_EQ(test::CountChanged(screen), 0);
}

TEST_F(MeteorCollision, ShotHitsDrawNoNumbersAndTakeNoEnergy) {
    Place(300, 100);
    ship.shots[0] = test::UpwardShot(300, 100);
    ship.shots[1] = test::UpwardShot(310, 95);
    const uint32_t state = RandomState();
    EXPECT_FALSE(Collide());
    EXPECT_EQ(RandomState(), state);
    EXPECT_EQ(ship.energy, 500);
    EXPECT_EQ(meteor.hitsLeft, 3);
}

}  // namespace
}  // namespace qx
