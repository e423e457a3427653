// The game's state as a value: how a game starts, its checksum, snapshots
// and re-runs, and the picture drawn from a state alone.
#include <gtest/gtest.h>

#include "game/Game.h"
#include "game/GameRules.h"
#include "game/ScenePicture.h"
#include "tests/support/StateEditor.h"

namespace qx {
namespace {

class QuietHost : public GameHost {
  public:
    uint32_t SetGameTimer() override { return Game::kTimerId; }
    void KillGameTimer() override {}
    void ShowEndOfGame(const std::string&, const std::string&) override { ++ended; }
    bool RunNewGameDialog(PlayerChoice&) override { return true; }
    int ended = 0;
};

// Runs ticks with a mix of inputs on the state, drawing on `sink` (or not).
void Play(GameState& state, GameHost& host, DrawSink* sink, int from, int ticks) {
    GameRules rules(state, host, sink);
    for (int t = from; t < from + ticks; ++t) {
        if (t % 7 == 0) rules.Apply(GameInput::Target((t * 37) % 600, (t * 53) % 400));
        if (t % 11 == 0) rules.Apply(GameInput::Fire(t % 2 ? Weapon::Forward : Weapon::Down));
        if (t % 13 == 0) rules.Apply(GameInput::Key(static_cast<GameKey>(1 + t % 13)));
        if (t % 97 == 0) rules.Apply(GameInput::Repaint());
        if (state.timerRunning) rules.Tick();
    }
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
    // the documented field order or of the game's start may change it.
    EXPECT_EQ(ChecksumHex(Checksum(GameState::Start(0, {true, true}))), "8bc3520b61b6f6dd");
    GameState a = GameState::Start(3, {false, false});
    GameState b = a;
    EXPECT_EQ(Checksum(a), Checksum(b));
    EXPECT_EQ(FirstDifference(a, b), "");
    Shot shot;
    shot.x = 120;
    ShipEditor(b.rebel).Shot(2, shot);
    EXPECT_NE(Checksum(a), Checksum(b));
    EXPECT_EQ(FirstDifference(a, b), "rebel.shots[2].x: 700 != 120");
}

TEST(GameState, ARestoredSnapshotAndARunWithoutDrawingGoTheSameWay) {
    QuietHost host;
    SceneRenderer renderer;
    Surface screen(640, 480);
    renderer.SetTarget(&screen);
    GameState live = GameState::Start(42, {true, true});
    Play(live, host, &renderer, 0, 1500);
    const GameState snapshot = live;
    Play(live, host, &renderer, 1500, 1500);
    GameState again = snapshot;
    Play(again, host, nullptr, 1500, 1500);
    EXPECT_EQ(FirstDifference(live, again), "");
    EXPECT_EQ(Checksum(live), Checksum(again));
}

TEST(GameState, ThePictureOfAStateIsTheGamesOwnRepaintAtAQuietMoment) {
    QuietHost host;
    Game game(host);
    game.OnSize(701, 433);
    game.Start(9, {false, false});
    game.OnGameNew();  // ships at their bases, no shot, no hit
    const GameState before = game.State();
    game.ShowState();
    const Surface pure = game.Screen();
    EXPECT_EQ(game.State(), before) << "drawing a state changes nothing";
    game.OnPaint();
    EXPECT_EQ(game.Screen(), pure);
}

TEST(GameState, TheThirdWinEndsTheGameInTheMiddleOfATick) {
    QuietHost host;
    GameState state = GameState::Start(1, {true, false});
    ShipEditor(state.emperor).Wins(2);
    ShipEditor(state.rebel).Energy(-61);  // her explosion has run out
    GameRules(state, host, nullptr).Tick();
    EXPECT_EQ(host.ended, 1);
    EXPECT_EQ(state.emperor.Wins(), 0);
    EXPECT_EQ(state.rebel.Energy(), 500);
    EXPECT_TRUE(state.timerRunning);
}

}  // namespace
}  // namespace qx
