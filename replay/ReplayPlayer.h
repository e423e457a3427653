#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "replay/Replay.h"
#include "replay/ReplayError.h"
#include "replay/ReplayTarget.h"

namespace qx {

// Plays a replay back tick by tick: each tick's events before the timer
// tick, the tick, and the events after it, in the order they were taken.
// The windows' answers are events like any other; one that answers a window
// the game has not opened means the replay does not fit the game. After
// every checkpoint's tick the state is compared with the record, so a
// damaged replay stops where it parts from its game.
//
// The game must have been started with the replay's seed and players
// (GameState::Start) before the first Step. `replay` must outlive the player.
class ReplayPlayer {
  public:
    explicit ReplayPlayer(const Replay& replay) : replay(replay) {}

    // Plays the next tick on `target`: first tick 0 (the start-up events),
    // then one tick a call. Returns false when the replay had ended already
    // or does not fit the game (see Failure()).
    bool Step(ReplayTarget& target);

    bool Done() const { return Failed() || nextTick > replay.tickCount; }
    bool Failed() const { return static_cast<bool>(failure); }
    // The number of the tick the next Step plays.
    int64_t NextTick() const { return nextTick; }
    const ReplayError& Failure() const { return failure; }
    // End-of-game boxes closed so far.
    int64_t GamesEnded() const { return gamesEnded; }

  private:
    void Play(ReplayTarget& target, const GameInput& input);
    void CheckStillWaiting(const ReplayTarget& target);
    void CheckCheckpoint(const ReplayTarget& target);
    void Fail(ReplayError::Code code, std::string detail);

    const Replay& replay;
    size_t entry = 0;       // the next entry of replay.ticks
    size_t checkpoint = 0;  // the next entry of replay.checkpoints
    int64_t nextTick = 0;
    int64_t playing = -1;  // the tick a Step is playing
    int64_t gamesEnded = 0;
    ReplayError failure;
};

}  // namespace qx
