// Ship::CheckShotsAgainst: the hit box, the damage, the hit picture and its
// random draw, and the shots that leave the scene.
#include <gtest/gtest.h>

#include "common/Random.h"
#include "panel/EraseFromBackdrop.h"
#include "ships/Ship.h"
#include "tests/ships/PixelProbe.h"
#include "tests/ships/ShipSetup.h"

namespace qx {
namespace {

class ShipCombat : public ::testing::Test {
  protected:
    void SetUp() override {
        test::Prepare(shooter);
        test::Prepare(target);
        test::Park(shooter, 100, 300);
        test::Park(target, 300, 200);
        screen.Fill(test::kMarker);
        RandomSeed(4242);
    }
    bool Check(int32_t facing = 0) {
        return shooter.CheckShotsAgainst(backdrop, test::ClientOf(600, 400), screen, target,
                                         facing);
    }
    Ship shooter{Side::Emperor};
    Ship target{Side::Rebel};
    Surface backdrop = test::PositionBackdrop();
    Surface screen{600, 400};
};

TEST_F(ShipCombat, ForwardShotHitBoxReaches45AcrossAnd20Upright) {
    shooter.shots[0] = test::ForwardShot(345, 220);
    EXPECT_TRUE(Check());
    EXPECT_EQ(target.energy, 500 - (100 - 45 - 20));
    EXPECT_FALSE(shooter.shots[0].IsActive());

    for (const auto& [x, y] : {std::pair{346, 220}, std::pair{345, 221}, std::pair{254, 179}}) {
        shooter.shots[0] = test::ForwardShot(x, y);
        EXPECT_FALSE(Check()) << x << "," << y;
        EXPECT_TRUE(shooter.shots[0].IsActive());
    }
    EXPECT_EQ(target.energy, 465);
}

TEST_F(ShipCombat, DamageFallsWithDistanceFromTheCentre) {
    shooter.shots[0] = test::ForwardShot(300, 200);
    Check();
    EXPECT_EQ(target.energy, 400);
    shooter.shots[0] = test::ForwardShot(270, 210);  // 30 across, 10 upright
    Check();
    EXPECT_EQ(target.energy, 340);
}

TEST_F(ShipCombat, EnergyStopsAtZero) {
    target.energy = 50;
    shooter.shots[0] = test::ForwardShot(300, 200);
    EXPECT_TRUE(Check());
    EXPECT_EQ(target.energy, 0);
}

TEST_F(ShipCombat, UpwardShotReaches30UprightForFive) {
    shooter.shots[0] = test::UpwardShot(255, 230);
    EXPECT_TRUE(Check());
    EXPECT_EQ(target.energy, 495);
    shooter.shots[0] = test::UpwardShot(255, 231);
    EXPECT_FALSE(Check());
}

TEST_F(ShipCombat, DownwardShotCostsAtMostEighty) {
    shooter.shots[0] = test::DownwardShot(300, 200);
    Check();
    EXPECT_EQ(target.energy, 420);
    shooter.shots[0] = test::DownwardShot(300, 221);
    EXPECT_FALSE(Check());
}

TEST_F(ShipCombat, DestroyedTargetSpendsTheShotForNothing) {
    for (int32_t energy : {0, -10}) {
        target.energy = energy;
        target.ShowFrame(0, 4);
        const Surface* sprite = target.sprite;
        const uint32_t state = RandomState();
        shooter.shots[2] = test::ForwardShot(300, 200);
        EXPECT_FALSE(Check());
        EXPECT_FALSE(shooter.shots[2].IsActive());
        EXPECT_EQ(target.energy, energy);
        EXPECT_EQ(target.sprite, sprite);
        EXPECT_EQ(RandomState(), state);
    }
}

TEST_F(ShipCombat, TwoHitsTakeBothAmountsAndDrawTwice) {
    shooter.shots[1] = test::ForwardShot(300, 200);
    shooter.shots[3] = test::DownwardShot(310, 205);
    const uint32_t state = RandomState();
    RandomBelow(3);
    const int second = RandomBelow(3);
    RandomSeed(state);

    EXPECT_TRUE(Check(1));
    EXPECT_EQ(target.energy, 500 - 100 - (80 - 10 - 5));
    EXPECT_EQ(RandomState(), test::StateAfterDraws(state, 2));
    EXPECT_EQ(target.sprite, &target.Sprites().hitSprites[1][second]);
    EXPECT_EQ(target.mask, &target.Sprites().shipMasks[0][0]);
    EXPECT_EQ(test::ActiveShots(shooter), 0);
}

TEST_F(ShipCombat, HitPictureComesFromTheFacingRow) {
    for (int facing : {0, 1}) {
        const uint32_t state = RandomState();
        const int variant = RandomBelow(3);
        RandomSeed(state);
        shooter.shots[0] = test::ForwardShot(300, 200);
        Check(facing);
        EXPECT_EQ(target.sprite, &target.Sprites().hitSprites[facing][variant]);
    }
}

TEST_F(ShipCombat, ShotsLeaveAtTheTopAndTheGround) {
    struct Case {
        int32_t y;
        bool finished;
    };
    for (const Case c : {Case{40, true}, Case{41, false}, Case{370, true}, Case{369, false}}) {
        shooter.shots[0] = test::UpwardShot(500, c.y);
        Check();
        EXPECT_EQ(shooter.shots[0].IsActive(), !c.finished) << "y " << c.y;
    }
}

TEST_F(ShipCombat, ForwardShotsLeaveBySidesWhereLastDrawn) {
    struct Case {
        int32_t prevX;
        bool finished;
    };
    for (const Case c : {Case{620, true}, Case{619, false}, Case{-20, true}, Case{-19, false}}) {
        shooter.shots[0] = test::ForwardShot(300, 330);
        shooter.shots[0].prevX = c.prevX;  // x itself is not looked at
        Check();
        EXPECT_EQ(shooter.shots[0].IsActive(), !c.finished) << "prevX " << c.prevX;
    }
}

TEST_F(ShipCombat, OwnerAtMinusFiftyLosesEveryShot) {
    shooter.energy = -48;
    shooter.shots[0] = test::ForwardShot(200, 330);
    shooter.shots[4] = test::UpwardShot(480, 100);
    Check();
    EXPECT_EQ(test::ActiveShots(shooter), 2);
    shooter.energy = -50;
    Check();
    EXPECT_EQ(test::ActiveShots(shooter), 0);
}

TEST_F(ShipCombat, FinishedShotIsErasedWhereItWasLastDrawn) {
    shooter.shots[0] = test::ForwardShot(300, 200);
    shooter.shots[0].prevX = 290;
    shooter.shots[1] = test::UpwardShot(500, 38);
    shooter.shots[1].prevY = 48;
    Check();
    const Box hit = EraseBox(290, 200, 20, 10);
    const Box top = EraseBox(500, 48, 20, 20);
    EXPECT_EQ(hit, (Box{277, 192, 26, 16}));
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, hit));
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, top));
    EXPECT_EQ(test::CountChanged(screen), hit.w * hit.h + top.w * top.h);
}

TEST_F(ShipCombat, ShotsThatMissDrawNothing) {
    shooter.shots[0] = test::ForwardShot(200, 330);
    EXPECT_FALSE(Check());
    EXPECT_EQ(test::CountChanged(screen), 0);
    EXPECT_EQ(shooter.shots[0].x, 200);
}

}  // namespace
}  // namespace qx
