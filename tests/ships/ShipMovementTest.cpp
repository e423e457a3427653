// Ship::Update: steps toward the target, the keep-away rules, the ceiling,
// the computer pilot's choice of target and weapon, and a destroyed ship.
#include <gtest/gtest.h>

#include <vector>

#include "common/Random.h"
#include "ships/Ship.h"
#include "tests/ships/ShipSetup.h"

namespace qx {
namespace {

using test::kFarX;
using test::kFarY;

class ShipMovement : public ::testing::Test {
  protected:
    void SetUp() override {
        RandomSeed(12345);
        test::Prepare(ship);
    }
    Ship ship{Side::Emperor};
};

TEST_F(ShipMovement, RisesOutOfItsBaseAfterReset) {
    ship.Update(kFarX, kFarY);
    EXPECT_EQ(ship.x, 170);
    EXPECT_EQ(ship.y, 375);
    EXPECT_EQ(ship.prevX, 170);
    EXPECT_EQ(ship.prevY, 383);
    EXPECT_TRUE(ship.moved);
    EXPECT_EQ(ship.reload, 3);
}

TEST_F(ShipMovement, StepsPastTargetAndBack) {
    ship.x = 165;
    ship.y = 200;
    ship.targetX = 170;
    ship.targetY = 200;
    ship.moved = true;
    ship.Update(kFarX, kFarY);
    EXPECT_EQ(ship.x, 165);
    EXPECT_EQ(ship.y, 200);
    EXPECT_FALSE(ship.moved);
}

TEST_F(ShipMovement, StepsDiagonallyByEightOnBothAxes) {
    test::Park(ship, 200, 150);
    ship.targetX = 300;
    ship.targetY = 100;
    ship.Update(kFarX, 380);
    EXPECT_EQ(ship.x, 208);
    EXPECT_EQ(ship.y, 142);
}

TEST_F(ShipMovement, CeilingHoldsTheShipAtFortyNine) {
    ship.x = ship.targetX = 300;
    ship.y = 53;
    ship.targetY = 30;
    ship.Update(kFarX, 300);
    EXPECT_EQ(ship.y, 49);
    EXPECT_TRUE(ship.moved);
    ship.Update(kFarX, 300);
    EXPECT_EQ(ship.y, 49);
    EXPECT_FALSE(ship.moved);
}

TEST_F(ShipMovement, TargetBelowFlightBoxRestsAtItsBottom) {
    ship.x = ship.targetX = 300;
    ship.y = 262;
    ship.targetY = 390;
    ship.Update(kFarX, kFarY);
    EXPECT_EQ(ship.y, 270);
    ship.Update(kFarX, kFarY);
    EXPECT_EQ(ship.y, 270);
    EXPECT_FALSE(ship.moved);
}

TEST_F(ShipMovement, RestsUpToSevenBeyondTheSideBounds) {
    test::Park(ship, 549, 150);
    ship.targetX = 600;
    ship.Update(50, 380);
    EXPECT_EQ(ship.x, 557);
    ship.Update(50, 380);
    EXPECT_EQ(ship.x, 557);
}

TEST_F(ShipMovement, OtherShipCloseOnTheRightBlocksRightStep) {
    test::Park(ship, 200, 150);
    ship.targetX = 400;
    ship.Update(260, 170);  // 60 to the right, 20 lower
    EXPECT_EQ(ship.x, 200);
    EXPECT_FALSE(ship.moved);

    ship.Update(270, 170);  // 70 to the right
    EXPECT_EQ(ship.x, 208);
    EXPECT_TRUE(ship.moved);
}

TEST_F(ShipMovement, KeepAwayBoundsAreInclusive) {
    test::Park(ship, 200, 150);
    ship.targetX = 400;
    ship.Update(266, 179);  // 66 across, 29 upright: still blocks
    EXPECT_EQ(ship.x, 200);
    ship.Update(266, 180);  // 30 upright: free
    EXPECT_EQ(ship.x, 208);
}

TEST_F(ShipMovement, OtherShipOnTheFarSideDoesNotBlock) {
    test::Park(ship, 200, 150);
    ship.targetX = 400;
    ship.Update(150, 150);  // close, but to the left
    EXPECT_EQ(ship.x, 208);

    test::Park(ship, 200, 150);
    ship.targetX = 100;
    ship.Update(150, 150);  // close on the left: blocks the left step
    EXPECT_EQ(ship.x, 200);
}

TEST_F(ShipMovement, OtherShipCloseBelowOrAboveBlocksVerticalStep) {
    test::Park(ship, 300, 150);
    ship.targetY = 250;
    ship.Update(358, 187);  // 37 below, 58 across
    EXPECT_EQ(ship.y, 150);
    ship.Update(359, 187);  // 59 across
    EXPECT_EQ(ship.y, 158);

    test::Park(ship, 300, 150);
    ship.targetY = 60;
    ship.Update(300, 113);  // 37 above
    EXPECT_EQ(ship.y, 150);
    ship.Update(300, 112);  // 38 above
    EXPECT_EQ(ship.y, 142);
}

TEST_F(ShipMovement, KeepAwayAlsoHoldsTheRiseFromTheBase) {
    ship.Update(170, 350);  // right above the base
    EXPECT_EQ(ship.y, 383);
    EXPECT_FALSE(ship.moved);
}

TEST_F(ShipMovement, ComputerAtRestChoosesNewTargetBeforeMoving) {
    ship.computer = true;
    ship.x = 300;
    ship.y = 150;
    ship.targetX = 303;
    ship.targetY = 155;
    ship.moved = true;
    RandomSeed(777);
    const int32_t tx = 50 + RandomBelow(500);
    const int32_t ty = 41 + RandomBelow(229);
    RandomSeed(777);
    ship.Update(kFarX, 380);
    EXPECT_EQ(ship.targetX, tx);
    EXPECT_EQ(ship.targetY, ty);
    // It already steps toward the new target in the same update.
    EXPECT_EQ(ship.x, tx > 300 ? 308 : 292);
}

TEST_F(ShipMovement, ComputerOnItsWayKeepsItsTarget) {
    ship.computer = true;
    ship.x = 300;
    ship.y = 150;
    ship.targetX = 400;
    ship.targetY = 150;
    ship.moved = true;
    const uint32_t before = RandomState();
    ship.Update(kFarX, 380);
    EXPECT_EQ(ship.targetX, 400);
    EXPECT_EQ(RandomState(), before);
}

TEST_F(ShipMovement, ComputerBlockedForOneUpdateChoosesNewTarget) {
    ship.computer = true;
    ship.x = 200;
    ship.y = 150;
    ship.targetX = 400;
    ship.targetY = 150;
    ship.moved = true;
    ship.Update(260, 170);  // blocked: no new target yet
    EXPECT_EQ(ship.targetX, 400);
    EXPECT_FALSE(ship.moved);

    const uint32_t state = RandomState();
    RandomSeed(state);
    const int32_t tx = 50 + RandomBelow(500);
    const int32_t ty = 41 + RandomBelow(229);
    RandomSeed(state);
    ship.Update(260, 170);
    EXPECT_EQ(ship.targetX, tx);
    EXPECT_EQ(ship.targetY, ty);
}

TEST_F(ShipMovement, ComputerChoosesTargetAtFirstUpdateAfterReset) {
    ship.computer = true;
    const uint32_t state = RandomState();
    ship.Update(kFarX, kFarY);
    EXPECT_EQ(RandomState(), test::StateAfterDraws(state, 2));
}

TEST_F(ShipMovement, ChooseTargetDrawsXFirstWithinTheFlightBox) {
    RandomSeed(99);
    const int32_t a = RandomBelow(500);
    const int32_t b = RandomBelow(229);
    RandomSeed(99);
    ship.ChooseTarget();
    EXPECT_EQ(ship.targetX, 50 + a);
    EXPECT_EQ(ship.targetY, 41 + b);
    for (int i = 0; i < 2000; ++i) {
        ship.ChooseTarget();
        ASSERT_GE(ship.targetX, 50);
        ASSERT_LE(ship.targetX, 549);
        ASSERT_GE(ship.targetY, 41);
        ASSERT_LE(ship.targetY, 269);
    }
}

TEST_F(ShipMovement, DestroyedShipStandsStillButReloadsAndItsShotsFly) {
    ship.computer = true;
    ship.energy = 0;
    ship.x = 300;
    ship.y = 150;
    ship.targetX = 400;
    ship.targetY = 150;
    ship.reload = 1;
    ship.moved = true;
    ship.shots[1] = test::ForwardShot(350, 150);
    ship.Update(kFarX, kFarY);
    EXPECT_EQ(ship.x, 300);
    EXPECT_EQ(ship.y, 150);
    EXPECT_TRUE(ship.moved);  // kept from the update before
    EXPECT_EQ(ship.reload, 2);
    EXPECT_EQ(ship.shots[1].x, 360);
    EXPECT_EQ(ship.fireRequest, 0);

    ship.moved = false;
    ship.reload = 3;
    ship.Update(kFarX, kFarY);
    EXPECT_FALSE(ship.moved);
    // Reloaded with free slots, yet the pilot asks for nothing.
    EXPECT_EQ(test::ActiveShots(ship), 1);
    EXPECT_EQ(ship.reload, 3);
}

// A computer ship resting at the bottom of its flight box, short of a target
// below it, so that it neither moves nor picks a new target.
class ComputerAim : public ShipMovement {
  protected:
    void SetUp() override {
        ShipMovement::SetUp();
        ship.computer = true;
        ship.x = ship.targetX = 300;
        ship.y = 270;
        ship.targetY = 300;
        ship.moved = true;
    }
    // The kind of shot the pilot launched: 3 forward, 2 down, 1 up, 0 none.
    int WeaponAgainst(int32_t otherX, int32_t otherY) {
        ship.Update(otherX, otherY);
        EXPECT_EQ(ship.x, 300);
        EXPECT_EQ(ship.y, 270);
        EXPECT_EQ(ship.fireRequest, 0);
        for (const Shot& s : ship.shots) {
            if (!s.IsActive()) continue;
            return s.dy == 0 ? 3 : s.dy > 0 ? 2 : 1;
        }
        return 0;
    }
};

TEST_F(ComputerAim, FarAcrossFiresForward) {
    EXPECT_EQ(WeaponAgainst(400, 290), 3);  // across 10 > upright 4
}

TEST_F(ComputerAim, CloseAcrossAndLowerFiresDownward) {
    EXPECT_EQ(WeaponAgainst(340, 300), 2);  // across 4 < upright 6
}

TEST_F(ComputerAim, EqualMeasuresDoNotFireForward) {
    EXPECT_EQ(WeaponAgainst(350, 295), 2);  // across 5 = upright 5
}

TEST_F(ComputerAim, CloseAcrossAndHigherFiresUpward) {
    EXPECT_EQ(WeaponAgainst(340, 240), 1);
}

TEST_F(ComputerAim, LevelAndCloseFiresUpward) {
    EXPECT_EQ(WeaponAgainst(305, 270), 1);  // across 0, upright 0
}

TEST_F(ComputerAim, OneFreeSlotIsEnoughToFire) {
    for (int i = 0; i < 4; ++i) ship.shots[i] = test::UpwardShot(100, 100);
    ship.Update(400, 290);
    EXPECT_TRUE(ship.shots[4].IsActive());
    EXPECT_EQ(ship.shots[4].dy, 0);
}

TEST_F(ComputerAim, PersonsShipNeverAimsByItself) {
    ship.computer = false;
    EXPECT_EQ(WeaponAgainst(400, 290), 0);
}

TEST_F(ShipMovement, ComputerAimsFromWhereItHasJustMoved) {
    ship.computer = true;
    ship.moved = true;
    test::Park(ship, 300, 200);
    ship.targetX = 400;
    // Before the step: across 49 / 10 = 4, upright 20 / 5 = 4, downward.
    // After the step to 308: across 57 / 10 = 5 > 4, forward.
    ship.Update(251, 220);
    EXPECT_EQ(ship.x, 308);
    ASSERT_TRUE(ship.shots[0].IsActive());
    EXPECT_EQ(ship.shots[0].dy, 0);
}

TEST_F(ShipMovement, ComputerLaunchesOnEveryThirdUpdate) {
    ship.computer = true;
    // A flight box that pins the ship to (100, 200) whatever target it picks.
    ship.minX = ship.maxX = 100;
    ship.minY = 192;
    ship.maxY = 200;
    test::Park(ship, 100, 200);
    std::vector<int32_t> reloads;
    for (int i = 0; i < 9; ++i) {
        ship.Update(500, 200);
        reloads.push_back(ship.reload);
    }
    EXPECT_EQ(ship.x, 100);
    EXPECT_EQ(ship.y, 200);
    EXPECT_EQ(reloads, (std::vector<int32_t>{0, 1, 2, 0, 1, 2, 0, 1, 2}));
    EXPECT_EQ(test::ActiveShots(ship), 3);
}

}  // namespace
}  // namespace qx
