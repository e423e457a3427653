// A ship as it is built and as Ship::Reset leaves it for a new round.
#include <gtest/gtest.h>

#include "gfx/ResourceLibrary.h"
#include "ships/Ship.h"
#include "tests/ships/ShipSetup.h"

namespace qx {
namespace {

TEST(ShipStart, BuiltWithStartValuesAndAPlayableRecord) {
    const Ship emperor(Side::Emperor);
    const Ship rebel(Side::Rebel);
    EXPECT_EQ(emperor.x, 170);
    EXPECT_EQ(emperor.y, 383);
    EXPECT_EQ(emperor.targetX, 170);
    EXPECT_EQ(emperor.targetY, 200);
    EXPECT_EQ(emperor.shotDx, 10);
    EXPECT_EQ(rebel.x, 426);
    EXPECT_EQ(rebel.y, 380);
    EXPECT_EQ(rebel.targetX, 426);
    EXPECT_EQ(rebel.targetY, 200);
    EXPECT_EQ(rebel.shotDx, -10);
    for (const Ship* s : {&emperor, &rebel}) {
        EXPECT_EQ(s->minX, 50);
        EXPECT_EQ(s->minY, 41);
        EXPECT_EQ(s->maxX, 550);
        EXPECT_EQ(s->maxY, 270);
        // Read by the first paint before any reset.
        EXPECT_EQ(s->energy, 500);
        EXPECT_EQ(s->reload, 3);
        EXPECT_FALSE(s->moved);
        EXPECT_EQ(s->wins, 0);
        EXPECT_EQ(s->fireRequest, 0);
        EXPECT_EQ(s->sprite, &s->Sprites().shipSprites[0][0]);
        EXPECT_EQ(s->mask, &s->Sprites().shipMasks[0][0]);
        for (const Shot& shot : s->shots) EXPECT_FALSE(shot.IsActive());
    }
}

TEST(ShipStart, EachSideShowsItsOwnFirstPicture) {
    const Ship emperor(Side::Emperor);
    const Ship rebel(Side::Rebel);
    EXPECT_EQ(*emperor.sprite, LoadBitmapResource(118));
    EXPECT_EQ(*emperor.mask, LoadBitmapResource(165));
    EXPECT_EQ(*rebel.sprite, LoadBitmapResource(123));
    EXPECT_EQ(*rebel.mask, LoadBitmapResource(124));
}

TEST(ShipStart, WorkSurfaceFreesEveryShotSlot) {
    Ship ship(Side::Rebel);
    for (Shot& shot : ship.shots) shot = test::ForwardShot(100, 100);
    ship.CreateWorkBitmap();
    EXPECT_EQ(ship.workBitmap.Width(), 200);
    EXPECT_EQ(ship.workBitmap.Height(), 200);
    EXPECT_EQ(test::ActiveShots(ship), 0);
}

TEST(ShipReset, RestoresRoundStartAndKeepsTheRest) {
    Ship ship(Side::Rebel);
    test::Prepare(ship);
    ship.x = 250;
    ship.y = 90;
    ship.prevX = 251;
    ship.prevY = 91;
    ship.targetX = 60;
    ship.targetY = 70;
    ship.energy = -40;
    ship.reload = 1;
    ship.moved = true;
    ship.wins = 2;
    ship.computer = true;
    ship.shotDx = 10;
    ship.fireRequest = 2;
    for (Shot& shot : ship.shots) shot = test::UpwardShot(300, 120);
    ship.ShowHit(1, 2);

    ship.Reset();
    EXPECT_EQ(ship.energy, 500);
    EXPECT_EQ(ship.x, 426);
    EXPECT_EQ(ship.y, 380);
    EXPECT_EQ(ship.targetX, 426);
    EXPECT_EQ(ship.targetY, 200);
    EXPECT_EQ(ship.reload, 3);
    EXPECT_FALSE(ship.moved);
    EXPECT_EQ(ship.sprite, &ship.Sprites().shipSprites[0][0]);
    EXPECT_EQ(ship.mask, &ship.Sprites().shipMasks[0][0]);
    // Untouched by a reset.
    EXPECT_EQ(ship.prevX, 251);
    EXPECT_EQ(ship.prevY, 91);
    EXPECT_EQ(ship.wins, 2);
    EXPECT_TRUE(ship.computer);
    EXPECT_EQ(ship.shotDx, 10);
    EXPECT_EQ(ship.fireRequest, 2);
    for (const Shot& shot : ship.shots) {
        EXPECT_FALSE(shot.IsActive());
        EXPECT_EQ(shot.y, 0);
        EXPECT_EQ(shot.prevX, 300);
        EXPECT_EQ(shot.prevY, 120);
        EXPECT_EQ(shot.dy, -10);
        EXPECT_EQ(shot.height, 20);
        EXPECT_EQ(shot.damageX, 40);
    }
}

}  // namespace
}  // namespace qx
