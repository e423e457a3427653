#include "replay/ReplayCheck.h"

#include "replay/ReplayPlayer.h"
#include "replay/ReplayRulesTarget.h"

namespace qx {

ReplayError CheckReplay(const Replay& replay, GameState* end) {
    ReplayPlayer player(replay);
    GameState state = GameState::Start(replay.seed, replay.players);
    ReplayRulesTarget target(state);
    while (player.Step(target)) {
    }
    if (end) *end = state;
    if (player.Failed()) return player.Failure();
    ReplayError error;
    const uint64_t reached = ReplayChecksum(replay.version, state);
    if (reached != replay.finalChecksum) {
        error.code = ReplayError::Code::ChecksumMismatch;
        error.tick = replay.tickCount;
        error.detail =
            "recorded " + ChecksumHex(replay.finalChecksum) + ", played " + ChecksumHex(reached);
    }
    return error;
}

}  // namespace qx
