#pragma once

#include <cstdint>

#include "game/GameObserver.h"
#include "game/StepInputs.h"
#include "replay/Replay.h"

namespace qx {

// Records a game as it is played. As a GameObserver of a Game it hears the
// start, every input (the answers to the game's windows among them) and
// every tick by itself. Inputs after a tick that left the game waiting for a
// window belong to that tick (after its timer tick) until the next tick
// starts or the host ends the step (EndStep); all others belong to the next
// tick. A host that runs whole steps itself reports them with AddStep.
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

    // Ends tick 0 (the start-up) now: later inputs belong to tick 1. Without
    // this the start-up ends with the first timer tick.
    void EndStartUp(const GameState& now);
    // Ends the host's step: the tick just played is closed with the state
    // after it, answers included.
    void EndStep(const GameState& after);
    // One whole step of a host that drives the rules itself.
    void AddStep(const StepInputs& step, const GameState& after);

    // The replay up to the last whole tick. Inputs after it are left out;
    // when no tick has run yet, the start-up so far ends at `now`.
    Replay Finish(const GameState& now) const;

    bool Started() const { return started; }
    bool Full() const { return full; }

  private:
    void Add(const GameInput& event);
    bool BeginTick();
    void Commit(const GameState& after);

    Replay replay;
    ReplayTick pending;  // the tick being recorded
    bool started = false;
    bool startUpOpen = false;
    bool answering = false;  // the last tick left the game waiting: inputs go after it
    bool full = false;
    int64_t completedTicks = 0;
    int64_t events = 0;
    uint64_t lastChecksum = 0;  // after the last whole tick
};

}  // namespace qx
