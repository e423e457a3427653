#include "net/NetReplayRecorder.h"

namespace qx::net {
namespace {

constexpr PlayerChoice kBothPersons{true, true};

}  // namespace

void NetReplayRecorder::Begin(uint32_t seed, const GameState& start) {
    recorder.OnStart(seed, kBothPersons);
    recorder.OnInput(GameInput::Repaint());
    recorder.OnInput(GameInput::NewGame(kBothPersons));
    recorder.EndStartUp(start);
    last = start;
}

void NetReplayRecorder::Add(const Frame& frame) {
    for (const GameInput& in : frame.emperor) recorder.OnInput(in);
    for (const GameInput& in : frame.rebel) recorder.OnInput(in);
    if (last.timerRunning) {
        recorder.OnTickStart(last);
        if (frame.ended) {
            recorder.OnEndOfGameClosed();
            recorder.OnDialogAnswer(kBothPersons);
        }
        recorder.OnTickEnd(frame.state);
    } else {
        recorder.OnIdleTick(frame.state);
    }
    last = frame.state;
}

}  // namespace qx::net
