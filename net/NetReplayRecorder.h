#pragma once

#include <cstdint>

#include "game/GameState.h"
#include "net/RollbackSession.h"
#include "replay/Replay.h"
#include "replay/ReplayRecorder.h"

namespace qx::net {

// Records a network game as a replay from its confirmed ticks only, so both
// machines record the same replay: the start-up (both sides persons, the
// first full repaint, New game with that choice), then per tick the
// Emperor side's inputs, the Rebel side's, and for a tick that ends a game
// the end-of-game box closed and the New game dialog answered with the same
// players. Stops (keeping what it has) at the bounds of a replay.
class NetReplayRecorder {
  public:
    // `start` is the state of tick 0 (the session's first frame).
    void Begin(uint32_t seed, const GameState& start);
    // The next confirmed tick.
    void Add(const Frame& frame);
    Replay Finish() const { return recorder.Finish(last); }
    bool Full() const { return recorder.Full(); }

  private:
    ReplayRecorder recorder;
    GameState last;
};

}  // namespace qx::net
