#pragma once

#include <cstdint>

#include "game/GameObserver.h"
#include "net/Replay.h"

namespace qx {

// Records a game as it is played. As a GameObserver of a Game it hears the
// start, every input and every tick by itself; the host reports the close of
// its modal windows (ReplayRecordingHost does that) and may end the start-up
// early with EndStartUp(). A host that drives GameRules itself calls the
// same functions in the same order.
//
// The recording stops, keeping what it has, when it reaches a bound of
// Replay; Finish() then gives the replay up to the last whole tick, which
// reads back without error.
class ReplayRecorder : public GameObserver {
  public:
    // GameObserver: a start begins a new recording.
    void OnStart(uint32_t seed, PlayerChoice players) override;
    void OnInput(const GameInput& input) override;
    void OnTickStart(const GameState& before) override;
    void OnTickEnd(const GameState& after) override;

    // The host's modal windows, reported when they close.
    void OnEndOfGameClosed();
    void OnDialogAnswer(PlayerChoice players);

    // Ends tick 0 (the start-up) now: later inputs belong to tick 1. Without
    // this the start-up ends with the first timer tick.
    void EndStartUp(const GameState& now);
    // A step of the host in which the timer did not run: the tick's inputs
    // are kept and no timer tick is played back.
    void OnIdleTick(const GameState& after);

    // The replay up to the last whole tick. Inputs after it are left out;
    // when no tick has run yet, the start-up so far ends at `now`.
    Replay Finish(const GameState& now) const;

    bool Started() const { return started; }
    bool Full() const { return full; }
    int64_t TicksRecorded() const { return completedTicks; }

  private:
    void Add(const ReplayEvent& event);
    void Commit(const GameState& after);

    Replay replay;
    ReplayTick pending;  // the tick being recorded
    bool started = false;
    bool startUpOpen = false;
    bool inTick = false;
    bool full = false;
    int64_t completedTicks = 0;
    int64_t events = 0;
    uint64_t lastChecksum = 0;  // after the last whole tick
};

}  // namespace qx
