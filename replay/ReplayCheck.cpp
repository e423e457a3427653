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
    } else if (replay.damagedDigestLine > 0) {
        // Damage that plays the same game is refused all the same; damage
        // that changes it was named above by the tick where it parts.
        error.code = ReplayError::Code::Malformed;
        error.line = replay.damagedDigestLine;
        error.detail = "the content does not match its digest (the file was changed)";
    }
    return error;
}

}  // namespace qx
