// EnergyPanel::ResolveCombat: the four hit tests in their fixed order, the
// facing row of the hit pictures, and when the energy bar is redrawn.
#include <gtest/gtest.h>

#include "common/Random.h"
#include "meteor/Meteor.h"
#include "panel/EnergyPanel.h"
#include "ships/Ship.h"
#include "tests/ships/PixelProbe.h"
#include "tests/ships/ShipSetup.h"

namespace qx {
namespace {

class CombatResolution : public ::testing::Test {
  protected:
    void SetUp() override {
        test::Prepare(emperor);
        test::Prepare(rebel);
        test::Park(emperor, 150, 200);
        test::Park(rebel, 400, 250);
        meteor.x = meteor.prevX = 20;  // out of everybody's way
        meteor.y = meteor.prevY = 380;
        screen.Fill(test::kMarker);
    }
    void Resolve(bool force) {
        panel.ResolveCombat(screen, test::ClientOf(600, 400), emperor, rebel, backdrop, meteor,
                            force);
    }
    Box Bar(int32_t e, int32_t r) const { return EnergyPanel::EnergyBarSource(e, r); }

    EnergyPanel panel;
    Ship emperor{Side::Emperor};
    Ship rebel{Side::Rebel};
    Meteor meteor;
    Surface backdrop = test::PositionBackdrop();
    Surface screen{600, 400};
};

TEST_F(CombatResolution, NoHitDrawsNothingUnlessForced) {
    Resolve(false);
    EXPECT_EQ(test::CountChanged(screen), 0);
    Resolve(true);
    EXPECT_EQ(test::ChangedBounds(screen), (Box{290, 0, 20, 20}));
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, {290, 0, 20, 20}));
}

TEST_F(CombatResolution, BarShowsEnergyBelowZeroAsZero) {
    struct Case {
        int32_t e, r, shownE, shownR;
    };
    for (const Case c : {Case{120, -14, 120, 0}, Case{-30, 200, 0, 200}, Case{0, -62, 0, 0}}) {
        emperor.energy = c.e;
        rebel.energy = c.r;
        screen.Fill(test::kMarker);
        Resolve(true);
        EXPECT_EQ(test::ChangedBounds(screen), Bar(c.shownE, c.shownR)) << c.e << " " << c.r;
    }
}

TEST_F(CombatResolution, HitRedrawsTheBarWithTheNewEnergy) {
    emperor.shots[0] = test::ForwardShot(400, 250);
    Resolve(false);
    EXPECT_EQ(rebel.energy, 400);
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, Bar(500, 400)));
    EXPECT_EQ(screen.Pixel(Bar(500, 400).x + Bar(500, 400).w, 0), test::kMarker);
}

TEST_F(CombatResolution, TestsRunInTheirFixedOrder) {
    // With this seed the three hits draw three different pictures, so a
    // different order would show.
    RandomSeed(100002);
    const int first = RandomBelow(3);   // the Rebel's shot on the Emperor
    const int second = RandomBelow(3);  // the meteor on the Emperor
    RandomBelow(12);                    // the meteor is replaced
    RandomBelow(7);
    RandomBelow(300);
    const int third = RandomBelow(3);  // the Emperor's shot on the Rebel
    ASSERT_TRUE(first != second && second != third && first != third);
    RandomSeed(100002);

    rebel.shots[0] = test::ForwardShot(150, 200, -10);
    meteor.x = meteor.prevX = 150;
    meteor.y = meteor.prevY = 200;
    emperor.shots[0] = test::ForwardShot(400, 250);
    Resolve(false);
    EXPECT_EQ(emperor.energy, 500 - 100 - 140);
    EXPECT_EQ(rebel.energy, 400);
    EXPECT_EQ(emperor.sprite, &emperor.Sprites().hitSprites[0][second]);
    EXPECT_EQ(rebel.sprite, &rebel.Sprites().hitSprites[0][third]);
    EXPECT_EQ(RandomState(), test::StateAfterDraws(100002, 6));
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, Bar(260, 400)));
}

TEST_F(CombatResolution, FacingRowIsOneOnlyWhileTheEmperorIsRightOfTheRebel) {
    struct Case {
        int32_t emperorX;
        int row;
    };
    for (const Case c : {Case{300, 0}, Case{350, 1}, Case{250, 0}}) {
        test::Park(emperor, c.emperorX, 200);
        test::Park(rebel, 300, 300);
        rebel.shots[0] = test::ForwardShot(c.emperorX, 200);
        emperor.shots[0] = test::ForwardShot(300, 300);
        const uint32_t state = RandomState();
        const int a = RandomBelow(3);
        const int b = RandomBelow(3);
        RandomSeed(state);
        Resolve(false);
        EXPECT_EQ(emperor.sprite, &emperor.Sprites().hitSprites[c.row][a]) << c.emperorX;
        EXPECT_EQ(rebel.sprite, &rebel.Sprites().hitSprites[c.row][b]) << c.emperorX;
    }
}

TEST_F(CombatResolution, BothShipsCanFallInOneCall) {
    emperor.energy = 50;
    rebel.energy = 50;
    rebel.shots[2] = test::ForwardShot(150, 200, -10);
    emperor.shots[1] = test::ForwardShot(400, 250);
    Resolve(false);
    EXPECT_EQ(emperor.energy, 0);
    EXPECT_EQ(rebel.energy, 0);
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, {0, 0, 600, 20}));
}

}  // namespace
}  // namespace qx
