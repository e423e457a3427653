// Game::OnTimer: facing, the flight animation, explosions, rounds and the end
// of a game.
#include <gtest/gtest.h>

#include <memory>

#include "common/Random.h"
#include "game/Game.h"
#include "gfx/ResourceLibrary.h"
#include "tests/game/FakeHost.h"

namespace qx {
namespace {

constexpr char kEmperorLostText[] =
    "Je konec imperatora! \n Vudce povstalcu Keldor se dostava do cela nove vlady a nici "
    "posledni zbytky privrzencu imperatora... ";
constexpr char kRebelLostText[] =
    "Jednotky povstalcu jsou porazeny! \n Pokracuje vlada imperatora Morvatehe I., ktery se "
    "tvrde msti ...";

class GameTick : public ::testing::Test {
  protected:
    void Start(bool emperorComputer, bool rebelComputer) {
        RandomSeed(1);
        game = std::make_unique<Game>(host);
        RandomSeed(31);
        test::StartUp(*game, host, emperorComputer, rebelComputer, 600, 400);
        test::Park(game->emperor, 200, 150);
        test::Park(game->rebel, 400, 150);
        test::ParkMeteor(game->meteor);
    }
    // One tick with the meteor kept out of the way.
    void Tick() {
        test::ParkMeteor(game->meteor);
        game->OnTimer();
    }
    test::FakeHost host;
    std::unique_ptr<Game> game;
};

TEST_F(GameTick, ShipsAreTurnedToFaceEachOther) {
    Start(false, false);
    Tick();
    EXPECT_EQ(game->emperor.shotDx, 10);
    EXPECT_EQ(game->rebel.shotDx, -10);

    test::Park(game->emperor, 400, 100);  // same x: both turned the other way
    test::Park(game->rebel, 400, 250);
    Tick();
    EXPECT_EQ(game->emperor.shotDx, -10);
    EXPECT_EQ(game->rebel.shotDx, 10);
    while (game->TickCounter() % 5 != 0) Tick();
    const int frame = game->FlightFrame();
    EXPECT_EQ(game->emperor.sprite, &game->emperor.Sprites().shipSprites[1][frame]);
    EXPECT_EQ(game->rebel.mask, &game->rebel.Sprites().shipMasks[1][frame]);
}

TEST_F(GameTick, FlightFrameStepsOnMultiplesOfFiveOfA101TickCounter) {
    Start(false, false);
    int32_t counter = game->TickCounter();
    int32_t frame = game->FlightFrame();
    std::vector<int32_t> stepsAt;
    for (int tick = 0; tick < 303; ++tick) {
        Tick();
        if (++counter > 100) counter = 0;
        if (counter % 5 == 0) {
            if (++frame > 2) frame = 0;
            stepsAt.push_back(counter);
            ASSERT_EQ(game->emperor.sprite, &game->emperor.Sprites().shipSprites[0][frame]);
            ASSERT_EQ(game->rebel.sprite, &game->rebel.Sprites().shipSprites[0][frame]);
        }
        ASSERT_EQ(game->TickCounter(), counter);
        ASSERT_EQ(game->FlightFrame(), frame);
    }
    EXPECT_EQ(stepsAt.size(), 3u * 21u);
    EXPECT_EQ(stepsAt[19], 100);
    EXPECT_EQ(stepsAt[20], 0);
}

TEST_F(GameTick, ExplosionRuns31TicksAndTheRoundEndsOnThe32nd) {
    Start(false, false);
    Ship& rebel = game->rebel;
    rebel.energy = 0;
    for (int tick = 1; tick <= 31; ++tick) {
        Tick();
        const int frame = 2 * (tick - 1) / 6;  // 0,0,0,1,1,1,...,9,9,9,10
        ASSERT_EQ(rebel.sprite, &rebel.Sprites().shipSprites[0][frame]) << "tick " << tick;
        ASSERT_EQ(rebel.mask, &rebel.Sprites().shipMasks[0][frame]) << "tick " << tick;
        ASSERT_EQ(rebel.energy, -2 * tick);
        ASSERT_EQ(rebel.x, 400);
        ASSERT_EQ(rebel.y, 150);
        ASSERT_EQ(game->emperor.wins, 0);
    }
    Tick();
    EXPECT_EQ(game->emperor.wins, 1);
    EXPECT_EQ(rebel.wins, 0);
    EXPECT_EQ(rebel.energy, 500);
    EXPECT_EQ(rebel.x, 426);
    EXPECT_EQ(rebel.y, 372);  // reset, then risen one step in the same tick
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(GameTick, RoundEndRedrawsWholePanels) {
    Start(false, false);
    game->emperor.energy = 0;
    game->rebel.energy = 100;
    for (int tick = 0; tick < 32; ++tick) Tick();
    ASSERT_EQ(game->rebel.wins, 1);
    const Surface blue = LoadBitmapResource(133);
    const Surface red = LoadBitmapResource(134);
    const Surface& screen = game->Screen();
    // The Emperor's panel is whole again; the Rebel's is still cut back.
    const int split = 600 - 290 * 100 / 500;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 290; ++x) ASSERT_EQ(screen.Pixel(x, y), blue.Pixel(x, y));
        for (int x = 290; x < split - 1; ++x) {
            ASSERT_EQ(screen.Pixel(x, y), game->Backdrop().Pixel(x, y));
        }
        for (int x = split; x < 600; ++x) ASSERT_EQ(screen.Pixel(x, y), red.Pixel(x - 310, y));
    }
}

TEST_F(GameTick, BothExplosionsEndingTogetherScoreForBoth) {
    Start(false, false);
    game->emperor.energy = -62;
    game->rebel.energy = -62;
    Tick();
    EXPECT_EQ(game->emperor.wins, 1);
    EXPECT_EQ(game->rebel.wins, 1);
    EXPECT_EQ(game->emperor.energy, 500);
    EXPECT_EQ(game->rebel.energy, 500);
}

TEST_F(GameTick, DestroyedShipMovesNotButItsShotsFly) {
    Start(false, false);
    Ship& rebel = game->rebel;
    rebel.energy = 0;
    rebel.targetX = 100;
    rebel.shots[0] = test::ForwardShot(355, 150, -10);
    rebel.fireRequest = 3;  // the explosion has already begun: refused
    Tick();
    EXPECT_EQ(rebel.x, 400);
    EXPECT_EQ(rebel.shots[0].x, 345);
    EXPECT_EQ(test::ActiveShots(rebel), 1);
    Tick();
    EXPECT_EQ(rebel.shots[0].x, 335);
}

TEST_F(GameTick, ThirdWinOverTheRebelEndsTheGame) {
    Start(false, true);
    game->emperor.wins = 2;
    game->rebel.wins = 1;
    game->rebel.energy = -62;
    bool timerStoppedDuringBox = false;
    host.onEndOfGame = [&] {
        timerStoppedDuringBox = game->TimerId() == 0 && !host.timerRunning;
        EXPECT_EQ(game->emperor.wins, 3);
    };
    host.onDialog = [&] {
        EXPECT_EQ(game->emperor.wins, 0);
        EXPECT_EQ(game->rebel.wins, 0);
        EXPECT_EQ(game->rebel.energy, 500);
        EXPECT_EQ(game->emperor.x, 170);
        EXPECT_EQ(game->emperor.y, 383);
        EXPECT_EQ(game->rebel.x, 426);
        EXPECT_EQ(game->rebel.y, 380);
        EXPECT_FALSE(host.timerRunning);
    };
    Tick();
    EXPECT_TRUE(timerStoppedDuringBox);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"KillGameTimer", "ShowEndOfGame",
                                                    "RunNewGameDialog", "SetGameTimer"}));
    EXPECT_EQ(host.captions.at(0), "End..");
    EXPECT_EQ(host.texts.at(0), kRebelLostText);
    EXPECT_TRUE(host.dialogOpenedWith.at(0).emperorHuman);
    EXPECT_FALSE(host.dialogOpenedWith.at(0).rebelHuman);
    EXPECT_EQ(game->TimerId(), Game::kTimerId);
    // The tick went on after the dialog: the person's ship rose one step.
    EXPECT_EQ(game->emperor.y, 375);
    EXPECT_EQ(game->emperor.wins, 0);
}

TEST_F(GameTick, ThirdWinOverTheEmperorEndsTheGame) {
    for (const auto& [emperorComputer, rebelComputer] :
         {std::pair{true, false}, std::pair{false, false}}) {
        Start(emperorComputer, rebelComputer);
        game->rebel.wins = 2;
        game->emperor.energy = -62;
        Tick();
        ASSERT_EQ(host.EndsOfGame(), 1);
        EXPECT_EQ(host.captions[0], "End..");
        EXPECT_EQ(host.texts[0], kEmperorLostText);
        EXPECT_EQ(game->rebel.wins, 0);
        EXPECT_EQ(game->TimerId(), Game::kTimerId);
    }
}

TEST_F(GameTick, SecondWinOnlyResetsTheLoser) {
    Start(false, true);
    game->emperor.wins = 1;
    game->rebel.energy = -62;
    Tick();
    EXPECT_EQ(game->emperor.wins, 2);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(game->emperor.x, 200);
}

TEST_F(GameTick, ComputerAgainstComputerNeverEnds) {
    Start(true, true);
    game->emperor.wins = 2;
    for (int32_t wins = 3; wins <= 5; ++wins) {
        game->rebel.energy = -62;
        Tick();
        EXPECT_EQ(game->emperor.wins, wins);
        EXPECT_EQ(game->rebel.energy, 500);
    }
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(game->TimerId(), Game::kTimerId);
}

}  // namespace
}  // namespace qx
