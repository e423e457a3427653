#include "replay/ReplayPlayer.h"

namespace qx {
namespace {

const char* WindowName(WaitFor what) {
    return what == WaitFor::EndOfGameBox ? "the end-of-game box" : "the New game dialog";
}

}  // namespace

void ReplayPlayer::Fail(ReplayError::Code code, std::string detail) {
    if (failure) return;
    failure.code = code;
    failure.tick = playing >= 0 ? playing : nextTick;
    failure.detail = std::move(detail);
}

bool ReplayPlayer::Step(ReplayTarget& game) {
    if (Done()) return false;
    playing = nextTick;
    const ReplayTick* events = nullptr;
    if (entry < replay.ticks.size() && replay.ticks[entry].tick <= playing) {
        events = &replay.ticks[entry++];
        if (events->tick < playing) Fail(ReplayError::Code::Mismatch, "the ticks are out of order");
    }
    if (events) {
        for (const GameInput& input : events->before) Play(game, input);
    }
    if (playing > 0 && !Failed()) game.RunTick();
    if (events) {
        if (playing == 0 && !events->after.empty()) {
            Fail(ReplayError::Code::Mismatch, "tick 0 has no timer tick to play events after");
        }
        for (const GameInput& input : events->after) Play(game, input);
    }
    CheckStillWaiting(game);
    CheckCheckpoint(game);
    playing = -1;
    ++nextTick;
    return !Failed();
}

void ReplayPlayer::Play(ReplayTarget& game, const GameInput& input) {
    if (Failed()) return;
    if (input.IsAnswer()) {
        const WaitFor wanted = input.kind == InputKind::EndOfGameClosed ? WaitFor::EndOfGameBox
                                                                        : WaitFor::NewGameChoice;
        if (game.State().wait.what != wanted) {
            Fail(ReplayError::Code::Mismatch,
                 std::string("the record closes ") + WindowName(wanted) + ", which is not open");
            return;
        }
        if (wanted == WaitFor::EndOfGameBox) ++gamesEnded;
    }
    game.ApplyInput(input);
}

// In version 1 every window was answered within the tick that opened it.
void ReplayPlayer::CheckStillWaiting(const ReplayTarget& game) {
    const WaitFor open = game.State().wait.what;
    if (replay.version >= 2 || open == WaitFor::Nothing) return;
    Fail(ReplayError::Code::Mismatch,
         std::string("the game opened ") + WindowName(open) + " that the record does not close");
}

void ReplayPlayer::CheckCheckpoint(const ReplayTarget& game) {
    if (Failed() || checkpoint >= replay.checkpoints.size()) return;
    const ReplayCheckpoint& point = replay.checkpoints[checkpoint];
    if (point.tick != playing) return;
    ++checkpoint;
    if (CheckpointSum(Checksum(game.State())) == point.sum) return;
    const int64_t lastGood = playing - Replay::kCheckpointEvery;
    Fail(ReplayError::Code::Diverged,
         lastGood > 0 ? "the game was still the recorded one at tick " + std::to_string(lastGood)
                      : "the game differs from its first ticks on");
}

}  // namespace qx
