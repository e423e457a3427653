// The input handlers: the mouse steers the Emperor, the keyboard the Rebel,
// and only a person's ship listens.
#include <gtest/gtest.h>

#include <memory>

#include "common/Random.h"
#include "game/Game.h"
#include "tests/game/FakeHost.h"

namespace qx {
namespace {

class GameInput : public ::testing::Test {
  protected:
    void Start(bool emperorComputer, bool rebelComputer, int w = 800, int h = 600) {
        RandomSeed(1);
        game = std::make_unique<Game>(host);
        test::StartUp(*game, host, emperorComputer, rebelComputer, w, h);
        test::Park(game->emperor, 200, 150);
        test::Park(game->rebel, 300, 150);
    }
    test::FakeHost host;
    std::unique_ptr<Game> game;
};

TEST_F(GameInput, MouseSetsTheEmperorsTargetInArenaUnits) {
    Start(false, true);
    game->OnMouseMove(400, 300);
    EXPECT_EQ(game->emperor.targetX, 300);
    EXPECT_EQ(game->emperor.targetY, 200);
    game->OnMouseMove(799, 599);
    EXPECT_EQ(game->emperor.targetX, 599);
    EXPECT_EQ(game->emperor.targetY, 399);
    game->OnMouseMove(-7, -7);  // truncated toward zero, not clamped
    EXPECT_EQ(game->emperor.targetX, -5);
    EXPECT_EQ(game->emperor.targetY, -4);
}

TEST_F(GameInput, MouseButtonsRequestForwardAndDownwardShots) {
    Start(false, false);
    game->OnLButtonDown();
    EXPECT_EQ(game->emperor.fireRequest, 3);
    game->OnRButtonDown();  // right and middle button
    EXPECT_EQ(game->emperor.fireRequest, 2);
    game->OnKeyDown(13);
    EXPECT_EQ(game->emperor.fireRequest, 1);
    EXPECT_EQ(game->rebel.fireRequest, 0);
}

TEST_F(GameInput, LaterRequestWithinATickReplacesTheEarlier) {
    Start(false, true);
    test::ParkMeteor(game->meteor);
    game->OnLButtonDown();
    game->OnRButtonDown();
    game->OnTimer();
    ASSERT_EQ(test::ActiveShots(game->emperor), 1);
    EXPECT_EQ(game->emperor.shots[0].dy, 10);  // downward, not forward
    EXPECT_EQ(game->emperor.fireRequest, 0);
}

TEST_F(GameInput, ComputerEmperorIgnoresMouseButtonsAndEnter) {
    Start(true, false);
    game->OnMouseMove(10, 10);
    game->OnLButtonDown();
    game->OnRButtonDown();
    game->OnKeyDown(13);
    EXPECT_EQ(game->emperor.targetX, 200);
    EXPECT_EQ(game->emperor.targetY, 150);
    EXPECT_EQ(game->emperor.fireRequest, 0);
    game->OnKeyDown(32);  // the Rebel's keys still work
    EXPECT_EQ(game->rebel.fireRequest, 3);
}

TEST_F(GameInput, EnterFiresForTheEmperorWhoeverPlaysTheRebel) {
    for (bool rebelComputer : {true, false}) {
        Start(false, rebelComputer);
        game->OnKeyDown(13);
        EXPECT_EQ(game->emperor.fireRequest, 1);
        EXPECT_EQ(game->rebel.fireRequest, 0);
        EXPECT_EQ(game->rebel.targetX, 300);
    }
}

TEST_F(GameInput, ComputerRebelIgnoresItsKeys) {
    Start(false, true);
    for (int key :
         {32, 67, 88, 36, 38, 37, 45, 39, 35, 40, 96, 97, 98, 99, 100, 102, 103, 104, 105}) {
        game->OnKeyDown(key);
    }
    EXPECT_EQ(game->rebel.targetX, 300);
    EXPECT_EQ(game->rebel.targetY, 150);
    EXPECT_EQ(game->rebel.fireRequest, 0);
}

struct KeyRow {
    int key;
    int32_t targetX, targetY, request;
};

// The Rebel at (300, 150) with its target there and no request; flight box
// 50..550 x 41..270.
constexpr KeyRow kKeyTable[] = {
    {32, 300, 150, 3}, {67, 300, 150, 1},  {88, 300, 150, 2}, {36, 50, 41, 0},    {103, 50, 41, 0},
    {38, 300, 41, 0},  {104, 300, 41, 0},  {105, 550, 41, 0}, {37, 50, 150, 0},   {100, 50, 150, 0},
    {45, 300, 150, 0}, {96, 300, 150, 0},  {39, 550, 150, 0}, {102, 550, 150, 0}, {35, 50, 270, 0},
    {97, 50, 270, 0},  {40, 300, 270, 0},  {98, 300, 270, 0}, {99, 550, 270, 0},  {33, 300, 150, 0},
    {34, 300, 150, 0}, {101, 300, 150, 0}, {65, 300, 150, 0}, {13, 300, 150, 0},
};

TEST_F(GameInput, RebelKeysFollowTheTable) {
    Start(true, false);
    for (const KeyRow& row : kKeyTable) {
        test::Park(game->rebel, 300, 150);
        game->rebel.fireRequest = 0;
        game->OnKeyDown(row.key);
        EXPECT_EQ(game->rebel.targetX, row.targetX) << "key " << row.key;
        EXPECT_EQ(game->rebel.targetY, row.targetY) << "key " << row.key;
        EXPECT_EQ(game->rebel.fireRequest, row.request) << "key " << row.key;
    }
}

TEST_F(GameInput, StopKeyTargetsWhereTheShipIsNow) {
    Start(true, false);
    game->rebel.targetX = 500;
    game->rebel.x = 310;
    game->rebel.y = 120;
    game->OnKeyDown(45);
    EXPECT_EQ(game->rebel.targetX, 310);
    EXPECT_EQ(game->rebel.targetY, 120);
}

TEST_F(GameInput, ZeroSizedClientIgnoresTheMouse) {
    for (const auto& [w, h] : {std::pair{0, 400}, std::pair{600, 0}, std::pair{0, 0}}) {
        Start(false, false, w, h);
        game->OnMouseMove(10, 10);
        EXPECT_EQ(game->emperor.targetX, 200);
        EXPECT_EQ(game->emperor.targetY, 150);
        game->OnTimer();  // and a tick draws on an empty screen safely
    }
}

}  // namespace
}  // namespace qx
