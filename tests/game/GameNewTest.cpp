// The New game command and the full repaint.
#include <gtest/gtest.h>

#include <memory>

#include "common/Random.h"
#include "game/Game.h"
#include "tests/game/FakeHost.h"
#include "tests/ships/PixelProbe.h"

namespace qx {
namespace {

class GameNew : public ::testing::Test {
  protected:
    void Start(bool emperorComputer, bool rebelComputer, int w = 600, int h = 400) {
        RandomSeed(1);
        game = std::make_unique<Game>(host);
        RandomSeed(77);
        test::StartUp(*game, host, emperorComputer, rebelComputer, w, h);
    }
    // A game in full swing: ships away from their bases, hurt, scoring.
    void MidGame() {
        test::Park(game->emperor, 300, 150);
        test::Park(game->rebel, 480, 220);
        game->emperor.energy = 210;
        game->rebel.energy = 95;
        game->emperor.wins = 2;
        game->rebel.wins = 1;
        game->emperor.shots[1] = test::ForwardShot(360, 150);
        game->rebel.shots[3] = test::UpwardShot(480, 150);
        test::ParkMeteor(game->meteor, 200);
        game->OnTimer();
        host.Clear();
    }
    test::FakeHost host;
    std::unique_ptr<Game> game;
};

TEST_F(GameNew, ResetsShipsAndScoreThenAsksWhoPlays) {
    Start(false, true);
    MidGame();
    const int32_t meteorX = game->meteor.x;
    const int32_t meteorY = game->meteor.y;
    host.onDialog = [&] {
        for (const Ship* s : {&game->emperor, &game->rebel}) {
            EXPECT_EQ(s->energy, 500);
            EXPECT_EQ(s->wins, 0);
            EXPECT_EQ(test::ActiveShots(*s), 0);
        }
        EXPECT_EQ(game->emperor.x, 170);
        EXPECT_EQ(game->emperor.y, 383);
        EXPECT_EQ(game->rebel.x, 426);
        EXPECT_EQ(game->rebel.y, 380);
        EXPECT_EQ(game->meteor.x, meteorX);
        EXPECT_EQ(game->meteor.y, meteorY);
        // The screen was repainted before the dialog: nothing left where
        // the Emperor's ship was.
        const Box old{300 - 34, 150 - 19, 68, 39};
        EXPECT_TRUE(test::ShowsBackdrop(game->Screen(), game->Backdrop(), old));
    };
    const PlayerChoice swapped{false, true};
    host.answer = &swapped;
    game->OnGameNew();
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"KillGameTimer", "RunNewGameDialog", "SetGameTimer"}));
    ASSERT_EQ(host.dialogOpenedWith.size(), 1u);
    EXPECT_TRUE(host.dialogOpenedWith[0].emperorHuman);
    EXPECT_FALSE(host.dialogOpenedWith[0].rebelHuman);
    EXPECT_TRUE(game->emperor.computer);
    EXPECT_FALSE(game->rebel.computer);
    EXPECT_EQ(game->TimerId(), Game::kTimerId);
}

TEST_F(GameNew, ClosedWithoutOkKeepsPlayersAndResumes) {
    Start(true, false);
    MidGame();
    const PlayerChoice other{true, true};
    host.answer = &other;
    host.confirm = false;
    game->OnGameNew();
    EXPECT_TRUE(game->emperor.computer);
    EXPECT_FALSE(game->rebel.computer);
    EXPECT_EQ(game->TimerId(), Game::kTimerId);
    EXPECT_TRUE(host.timerRunning);
    EXPECT_EQ(game->emperor.wins, 0);
}

TEST_F(GameNew, RepaintTwiceShowsTheSamePicture) {
    Start(false, false);
    MidGame();
    game->OnPaint();
    const Surface first = game->Screen();
    game->OnPaint();
    EXPECT_EQ(game->Screen(), first);
}

TEST_F(GameNew, RepaintAfterResizeFillsTheWholeClientArea) {
    Start(false, false);
    game->OnSize(1200, 800);
    game->OnPaint();
    const Surface& screen = game->Screen();
    ASSERT_EQ(screen.Width(), 1200);
    ASSERT_EQ(screen.Height(), 800);
    // The right and bottom edges hold no object: they show the backdrop
    // doubled.
    const Surface& backdrop = game->Backdrop();
    for (int y = 60; y < 800; ++y) {
        for (int x = 1180; x < 1200; ++x) {
            ASSERT_EQ(screen.Pixel(x, y), backdrop.Pixel(x / 2, y / 2)) << x << "," << y;
        }
    }
    for (int x = 960; x < 1200; ++x) ASSERT_EQ(screen.Pixel(x, 799), backdrop.Pixel(x / 2, 399));
}

TEST_F(GameNew, RepaintAppliesHitsOnTheShipsAsTheyStand) {
    Start(false, false);
    test::ParkMeteor(game->meteor);
    game->meteor.x = game->meteor.prevX = 175;  // right over the Emperor's base
    game->meteor.y = game->meteor.prevY = 375;
    game->OnPaint();
    EXPECT_EQ(game->emperor.energy, 500 - (140 - 5 - 8));
    EXPECT_EQ(game->meteor.y, 50);
}

}  // namespace
}  // namespace qx
