#pragma once

#include "game/GameState.h"
#include "replay/Replay.h"
#include "replay/ReplayError.h"

namespace qx {

// Plays the whole replay on a bare state, without drawing, and checks that
// it fits the game, meets its checkpoints and ends in the recorded state,
// and that the file matched its digest. Returns no error (code None) when
// it does; `end` (when given) receives the state reached.
ReplayError CheckReplay(const Replay& replay, GameState* end = nullptr);

}  // namespace qx
