#include "net/ReplayCheck.h"

#include "net/ReplayPlayer.h"
#include "net/ReplayQuietHost.h"
#include "net/ReplayRulesTarget.h"

namespace qx {

ReplayError CheckReplay(const Replay& replay, GameState* end) {
    ReplayQuietHost quiet;
    ReplayPlayer player(replay, quiet);
    GameState state = GameState::Start(replay.seed, replay.players);
    ReplayRulesTarget target(state, player);
    while (player.Step(target)) {
    }
    if (end) *end = state;
    if (player.Failed()) return player.Failure();
    ReplayError error;
    const uint64_t reached = Checksum(state);
    if (reached != replay.finalChecksum) {
        error.code = ReplayError::Code::ChecksumMismatch;
        error.detail =
            "recorded " + ChecksumHex(replay.finalChecksum) + ", played " + ChecksumHex(reached);
    }
    return error;
}

}  // namespace qx
