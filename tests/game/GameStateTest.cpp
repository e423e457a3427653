// The game's state as a value: how a game starts, its checksum, snapshots
// and re-runs, and the picture drawn from a state alone.
#include <gtest/gtest.h>

#include <cstdint>

#include "game/Game.h"
#include "game/GameRules.h"
#include "game/ScenePicture.h"
#include "tests/support/StateEditor.h"

namespace qx {
namespace {

// Closes every window the game waits for, keeping the players.
void AnswerWaits(GameRules& rules, const GameState& state) {
    while (state.wait.Waiting()) {
        rules.Apply(state.wait.what == WaitFor::EndOfGameBox
                        ? GameInput::EndOfGameClosed()
                        : GameInput::PlayersChosen(std::nullopt));
    }
}

// Runs ticks with a mix of inputs on the state, drawing on `sink` (or not).
void Play(GameState& state, DrawSink* sink, int from, int ticks) {
    GameRules rules(state, sink);
    for (int t = from; t < from + ticks; ++t) {
        if (t % 7 == 0) rules.Apply(GameInput::Target((t * 37) % 600, (t * 53) % 400));
        if (t % 11 == 0) rules.Apply(GameInput::Fire(t % 2 ? Weapon::Forward : Weapon::Down));
        if (t % 13 == 0) rules.Apply(GameInput::Key(static_cast<GameKey>(1 + t % 13)));
        if (t % 97 == 0) rules.Apply(GameInput::Repaint());
        rules.Tick();
        AnswerWaits(rules, state);
    }
}

// A state one tick before the third win: the Rebel's explosion has run out.
GameState OneTickFromTheEnd() {
    GameState state = GameState::Start(1, {true, false});
    ShipEditor(state.emperor).Wins(2);
    ShipEditor(state.rebel).Energy(-61);
    return state;
}

TEST(GameState, StartsLikeTheProgramWhateverTheSeed) {
    const GameState a = GameState::Start(0, {true, false});
    const GameState b = GameState::Start(987654, {true, false});
    // The first meteor comes from the generator's start state, before the seed.
    EXPECT_EQ(a.meteor, b.meteor);
    EXPECT_EQ(a.rng.State(), 0u);
    EXPECT_EQ(b.rng.State(), 987654u);
    EXPECT_TRUE(a.timerRunning);
    EXPECT_FALSE(a.emperor.Computer());
    EXPECT_TRUE(a.rebel.Computer());
    for (const Shot& shot : a.rebel.Shots()) EXPECT_FALSE(shot.IsActive());
}

TEST(GameState, ChecksumIsFixedByTheFieldOrderAndNamesDifferences) {
    // Pinned: the same on every platform and compiler, and only a change of
    // the documented fields or of the game's start may change it. The wait
    // joined the fields (8bc3520b61b6f6dd before); replays of version 1
    // still carry the checksum without it.
    EXPECT_EQ(ChecksumHex(Checksum(GameState::Start(0, {true, true}))), "7bb452c10d47a55d");
    GameState a = GameState::Start(3, {false, false});
    GameState b = a;
    EXPECT_EQ(Checksum(a), Checksum(b));
    EXPECT_EQ(FirstDifference(a, b), "");
    Shot shot;
    shot.x = 120;
    ShipEditor(b.rebel).Shot(2, shot);
    EXPECT_NE(Checksum(a), Checksum(b));
    EXPECT_EQ(FirstDifference(a, b), "rebel.shots[2].x: 700 != 120");
    EXPECT_EQ(ChecksumHex(ChecksumWithoutWait(GameState::Start(0, {true, true}))),
              "8bc3520b61b6f6dd");
}

TEST(GameState, ARestoredSnapshotAndARunWithoutDrawingGoTheSameWay) {
    SceneRenderer renderer;
    Surface screen(640, 480);
    renderer.SetTarget(&screen);
    GameState live = GameState::Start(42, {true, true});
    Play(live, &renderer, 0, 1500);
    const GameState snapshot = live;
    Play(live, &renderer, 1500, 1500);
    GameState again = snapshot;
    Play(again, nullptr, 1500, 1500);
    EXPECT_EQ(FirstDifference(live, again), "");
    EXPECT_EQ(Checksum(live), Checksum(again));
}

TEST(GameState, ThePictureOfAStateIsTheGamesOwnRepaintAtAQuietMoment) {
    Game game;
    game.SetClientSize(701, 433);
    game.Start(9, {false, false});
    game.Apply(GameInput::NewGame());  // ships at their bases, no shot, no hit
    game.Apply(GameInput::PlayersChosen(std::nullopt));
    const GameState before = game.State();
    game.ShowState();
    const Surface pure = game.Screen();
    EXPECT_EQ(game.State(), before) << "drawing a state changes nothing";
    game.Repaint();
    EXPECT_EQ(game.Screen(), pure);
}

TEST(GameState, TheThirdWinStopsTheTickUntilBothWindowsAreAnswered) {
    GameState state = OneTickFromTheEnd();
    GameRules rules(state, nullptr);
    rules.Tick();
    EXPECT_EQ(state.wait.what, WaitFor::EndOfGameBox);
    EXPECT_EQ(GameWait::EndOfGameCaption(), "End..");
    EXPECT_EQ(state.wait.EndOfGameText().rfind("Jednotky povstalcu jsou porazeny! \n", 0), 0u);
    EXPECT_FALSE(state.timerRunning);
    EXPECT_EQ(state.emperor.Wins(), 3) << "the box tells the final score";

    // While the box is open the timer, the mouse, the keys and New game do
    // nothing, and a New game answer is not the box's.
    const GameState open = state;
    rules.Tick();
    rules.Apply(GameInput::Target(10, 10));
    rules.Apply(GameInput::Key(GameKey::Space));
    rules.Apply(GameInput::NewGame(PlayerChoice{false, false}));
    rules.Apply(GameInput::PlayersChosen(PlayerChoice{false, false}));
    EXPECT_EQ(state, open);

    rules.Apply(GameInput::EndOfGameClosed());
    EXPECT_EQ(state.wait.what, WaitFor::NewGameChoice);
    EXPECT_EQ(state.emperor.Wins(), 0);
    EXPECT_EQ(state.rebel.Energy(), 500);
    rules.Apply(GameInput::PlayersChosen(PlayerChoice{false, true}));
    EXPECT_FALSE(state.wait.Waiting());
    EXPECT_TRUE(state.timerRunning);
    EXPECT_TRUE(state.emperor.Computer());
    EXPECT_FALSE(state.rebel.Computer());
}

TEST(GameState, AnAnswerGivenLaterFinishesTheSameTickAsOneGivenAtOnce) {
    const auto answer = [](GameRules& rules) {
        rules.Apply(GameInput::EndOfGameClosed());
        rules.Apply(GameInput::PlayersChosen(PlayerChoice{false, true}));
    };
    GameState atOnce = OneTickFromTheEnd();
    GameRules now(atOnce, nullptr);
    now.Tick();
    answer(now);

    GameState later = OneTickFromTheEnd();
    GameRules waited(later, nullptr);
    waited.Tick();
    for (int i = 0; i < 50; ++i) waited.Tick();
    answer(waited);
    EXPECT_EQ(FirstDifference(atOnce, later), "");
    // The rest of the tick ran with the new players: the computer now flies
    // the Emperor and has drawn a destination.
    EXPECT_NE(atOnce.rng.State(), OneTickFromTheEnd().rng.State());
}

TEST(GameState, NewGameFromTheMenuWaitsForItsDialogAndCancelKeepsThePlayers) {
    GameState state = GameState::Start(4, {true, false});
    GameRules rules(state, nullptr);
    rules.Apply(GameInput::NewGame());
    EXPECT_EQ(state.wait.what, WaitFor::NewGameChoice);
    EXPECT_EQ(state.wait.resume, ResumeAt::NoTick);
    rules.Apply(GameInput::EndOfGameClosed());  // not the window that is open
    EXPECT_EQ(state.wait.what, WaitFor::NewGameChoice);
    rules.Apply(GameInput::PlayersChosen(std::nullopt));
    EXPECT_FALSE(state.wait.Waiting());
    EXPECT_FALSE(state.emperor.Computer());
    EXPECT_TRUE(state.rebel.Computer());
}

TEST(GameState, TargetsAtTheEndsOfTheIntegersAreSafe) {
    GameState state = GameState::Start(2, {true, true});
    GameRules rules(state, nullptr);
    const int32_t x = state.emperor.X();
    rules.Apply(GameInput::Target(INT32_MIN, INT32_MIN));
    rules.Tick();
    EXPECT_LT(state.emperor.X(), x);
    rules.Apply(GameInput::Target(INT32_MAX, INT32_MAX));
    for (int i = 0; i < 200; ++i) rules.Tick();
    EXPECT_GE(state.emperor.X(), Ship::kMaxX);
}

}  // namespace
}  // namespace qx
