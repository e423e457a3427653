// The three weapons: what a launch puts into a slot, and the reload,
// energy, height, spacing and free-slot checks that refuse one.
#include <gtest/gtest.h>

#include "common/Random.h"
#include "ships/Ship.h"
#include "tests/ships/ShipSetup.h"

namespace qx {
namespace {

using test::kFarX;
using test::kFarY;

class ShipWeapons : public ::testing::Test {
  protected:
    void SetUp() override {
        test::Prepare(ship);
        test::Park(ship, 300, 150);
    }
    // One update of a person's ship with a request, the other ship far off.
    void UpdateWith(int32_t request) {
        ship.fireRequest = request;
        ship.Update(kFarX, 380);
    }
    Ship ship{Side::Emperor};
};

struct Expected {
    int32_t x, y, dx, dy, height, spriteIndex, maskIndex, damageX, damageY;
};

void ExpectShot(const Shot& s, const Expected& e) {
    EXPECT_EQ(s.x, e.x);
    EXPECT_EQ(s.y, e.y);
    EXPECT_EQ(s.prevX, e.x);
    EXPECT_EQ(s.prevY, e.y);
    EXPECT_EQ(s.dx, e.dx);
    EXPECT_EQ(s.dy, e.dy);
    EXPECT_EQ(s.width, 20);
    EXPECT_EQ(s.height, e.height);
    EXPECT_EQ(s.spriteIndex, e.spriteIndex);
    EXPECT_EQ(s.maskIndex, e.maskIndex);
    EXPECT_EQ(s.damageX, e.damageX);
    EXPECT_EQ(s.damageY, e.damageY);
}

TEST_F(ShipWeapons, EachWeaponFillsItsShotAtTheLaunchPlace) {
    UpdateWith(3);
    ExpectShot(ship.shots[0], {345, 150, 10, 0, 10, 0, 1, 75, 25});
    EXPECT_EQ(ship.reload, 0);

    test::Prepare(ship);
    test::Park(ship, 300, 150);
    UpdateWith(1);
    ExpectShot(ship.shots[0], {300, 119, 0, -10, 20, 2, 3, 40, 40});

    test::Prepare(ship);
    test::Park(ship, 300, 150);
    UpdateWith(2);
    ExpectShot(ship.shots[0], {300, 175, 0, 10, 10, 4, 5, 45, 35});
    EXPECT_EQ(ship.fireRequest, 0);
}

TEST_F(ShipWeapons, ForwardShotFacingLeftLaunchesOnTheLeft) {
    ship.shotDx = -10;
    UpdateWith(3);
    EXPECT_EQ(ship.shots[0].x, 255);
    EXPECT_EQ(ship.shots[0].y, 150);
    EXPECT_EQ(ship.shots[0].dx, -10);
}

TEST_F(ShipWeapons, LaunchesFromThePlaceAfterThisUpdatesMove) {
    ship.targetX = 400;
    UpdateWith(3);
    EXPECT_EQ(ship.x, 308);
    EXPECT_EQ(ship.shots[0].x, 353);
}

TEST_F(ShipWeapons, SecondRequestNextTickIsRefused) {
    UpdateWith(3);
    EXPECT_EQ(ship.reload, 0);
    EXPECT_EQ(ship.shots[0].x, 345);  // not advanced in its launch update
    UpdateWith(2);                    // downward: outside the forward shot's way
    EXPECT_EQ(ship.reload, 1);
    EXPECT_EQ(test::ActiveShots(ship), 1);
    EXPECT_EQ(ship.fireRequest, 0);
    UpdateWith(2);
    EXPECT_EQ(ship.reload, 2);
    UpdateWith(2);  // reloaded again on the third update
    EXPECT_EQ(ship.reload, 0);
    EXPECT_EQ(test::ActiveShots(ship), 2);
}

TEST_F(ShipWeapons, RefusedRequestIsDroppedNotKept) {
    ship.reload = 2;
    UpdateWith(3);  // reload becomes 3 before firing: launches
    EXPECT_EQ(ship.reload, 0);
    ship.reload = 1;
    UpdateWith(2);  // refused at reload 2
    ship.Update(kFarX, 380);
    EXPECT_EQ(ship.reload, 3);
    EXPECT_EQ(test::ActiveShots(ship), 1);
}

TEST_F(ShipWeapons, UpwardShotNeedsTheShipAtSixtyOneOrLower) {
    test::Park(ship, 300, 60);
    UpdateWith(1);
    EXPECT_EQ(test::ActiveShots(ship), 0);
    EXPECT_EQ(ship.reload, 3);

    test::Park(ship, 300, 61);
    UpdateWith(1);
    EXPECT_EQ(ship.shots[0].y, 30);
    EXPECT_EQ(ship.reload, 0);
}

TEST_F(ShipWeapons, AllSlotsBusyRefusesEveryWeapon) {
    for (int i = 0; i < Ship::kShotCount; ++i) ship.shots[i] = test::ForwardShot(100 + 5 * i, 300);
    for (int request : {1, 2, 3}) {
        ship.reload = 3;
        ship.fireRequest = request;
        ship.Update(kFarX, 380);
        EXPECT_EQ(ship.reload, 3);
    }
    for (int i = 0; i < Ship::kShotCount; ++i) EXPECT_EQ(ship.shots[i].dy, 0);
}

TEST_F(ShipWeapons, LowestFreeSlotIsFilled) {
    for (int i : {0, 1, 3, 4}) ship.shots[i] = test::ForwardShot(100, 300);
    ship.shots[2].x = kInactiveShotX;
    ship.FireDown();
    EXPECT_EQ(ship.shots[2].x, 300);
    EXPECT_EQ(ship.shots[2].dy, 10);
    EXPECT_EQ(test::ActiveShots(ship), 5);
}

TEST_F(ShipWeapons, ForwardSpacingZone) {
    ship.shots[0] = test::ForwardShot(350, 150);  // 50 ahead, same level
    ship.FireForward();
    EXPECT_EQ(test::ActiveShots(ship), 1);

    ship.shots[0] = test::ForwardShot(365, 169);  // 65 across: clear
    ship.FireForward();
    EXPECT_EQ(test::ActiveShots(ship), 2);

    test::Prepare(ship);
    test::Park(ship, 300, 150);
    ship.shots[0] = test::ForwardShot(236, 131);  // 64 behind, 19 up: blocks
    ship.FireForward();
    EXPECT_EQ(test::ActiveShots(ship), 1);
    ship.shots[0] = test::ForwardShot(236, 130);  // 20 up: clear
    ship.FireForward();
    EXPECT_EQ(test::ActiveShots(ship), 2);
}

TEST_F(ShipWeapons, UpwardShotAboveBlocksUpwardButNotForward) {
    ship.shots[0] = test::UpwardShot(310, 120);  // 30 above, 10 aside
    ship.FireUp();
    EXPECT_EQ(test::ActiveShots(ship), 1);
    ship.FireForward();
    EXPECT_EQ(test::ActiveShots(ship), 2);

    test::Prepare(ship);
    test::Park(ship, 300, 150);
    ship.shots[0] = test::UpwardShot(300, 100);  // 50 above: clear
    ship.FireUp();
    EXPECT_EQ(test::ActiveShots(ship), 2);
}

TEST_F(ShipWeapons, DownwardSpacingZone) {
    ship.shots[0] = test::DownwardShot(319, 189);  // 39 below, 19 aside
    ship.FireDown();
    EXPECT_EQ(test::ActiveShots(ship), 1);
    ship.shots[0] = test::DownwardShot(320, 189);  // 20 aside: clear
    ship.FireDown();
    EXPECT_EQ(test::ActiveShots(ship), 2);

    test::Prepare(ship);
    test::Park(ship, 300, 150);
    ship.shots[0] = test::DownwardShot(300, 190);  // 40 below: clear
    ship.FireDown();
    EXPECT_EQ(test::ActiveShots(ship), 2);

    test::Prepare(ship);
    test::Park(ship, 300, 150);
    ship.shots[0] = test::DownwardShot(300, 130);  // above the ship: not in the zone
    ship.FireDown();
    EXPECT_EQ(test::ActiveShots(ship), 2);
}

TEST_F(ShipWeapons, ShipAtZeroEnergyIsNotYetBelowIt) {
    ship.energy = 0;
    ship.FireDown();
    EXPECT_EQ(test::ActiveShots(ship), 1);
}

TEST_F(ShipWeapons, ShipBelowZeroEnergyLaunchesNothing) {
    ship.energy = -1;
    for (int request : {1, 2, 3}) {
        ship.reload = 3;
        ship.fireRequest = request;
        ship.Update(kFarX, kFarY);
    }
    EXPECT_EQ(test::ActiveShots(ship), 0);
    EXPECT_EQ(ship.reload, 3);
}

}  // namespace
}  // namespace qx
