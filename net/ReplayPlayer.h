#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/GameHost.h"
#include "net/Replay.h"
#include "net/ReplayError.h"
#include "net/ReplayTarget.h"

namespace qx {

// Plays a replay back tick by tick. It is the host of the game it plays: it
// answers the New game dialog and closes the end-of-game box from the
// record, applying on the way the inputs that came while they were open, so
// the game takes every event at the moment it took it when recorded. The
// timer calls and the end-of-game box are passed on to `outer`; the New game
// dialog never is.
//
// The game must have been started with the replay's seed and players
// (GameState::Start) before the first Step. `replay` must outlive the player.
class ReplayPlayer : public GameHost {
  public:
    ReplayPlayer(const Replay& replay, GameHost& outer) : replay(replay), outer(outer) {}

    // Plays the next tick on `target`: first tick 0 (the start-up events),
    // then one tick a call. Returns false when the replay had ended already
    // or does not fit the game (see Failure()).
    bool Step(ReplayTarget& target);

    bool Done() const { return Failed() || nextTick > replay.tickCount; }
    bool Failed() const { return static_cast<bool>(failure); }
    // The number of the tick the next Step plays.
    int64_t NextTick() const { return nextTick; }
    const ReplayError& Failure() const { return failure; }

    uint32_t SetGameTimer() override { return outer.SetGameTimer(); }
    void KillGameTimer() override { outer.KillGameTimer(); }
    void ShowEndOfGame(const std::string& caption, const std::string& text) override;
    bool RunNewGameDialog(PlayerChoice& choice) override;

  private:
    // Where in the current tick's events the game has got to.
    struct Cursor {
        const std::vector<ReplayEvent>* events = nullptr;
        size_t next = 0;
        bool AtEnd() const { return next >= events->size(); }
    };

    static constexpr int kMaxNesting = 8;

    void PlayBefore();
    void PlayTimerTick(const std::vector<ReplayEvent>& during);
    const ReplayEvent* PlayUntil(ReplayEventKind closing, const char* window);
    void Mismatch(std::string detail);

    const Replay& replay;
    GameHost& outer;
    ReplayTarget* target = nullptr;  // set while a Step runs
    size_t entry = 0;                // the next entry of replay.ticks
    int64_t nextTick = 0;
    int64_t playing = -1;  // the tick a Step is playing
    Cursor cursor;
    int nesting = 0;
    ReplayError failure;
};

}  // namespace qx
