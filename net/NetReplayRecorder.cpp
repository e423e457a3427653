#include "net/NetReplayRecorder.h"

#include "net/NetEndOfGame.h"

namespace qx::net {

void NetReplayRecorder::Begin(uint32_t seed, const GameState& start) {
    recorder.OnStart(seed, kNetPlayers);
    recorder.OnInput(GameInput::Repaint());
    recorder.OnInput(GameInput::NewGame(kNetPlayers));
    recorder.EndStartUp(start);
    last = start;
}

void NetReplayRecorder::Add(const Frame& frame) {
    StepInputs step;
    step.before.insert(step.before.end(), frame.emperor.begin(), frame.emperor.end());
    step.before.insert(step.before.end(), frame.rebel.begin(), frame.rebel.end());
    if (frame.ended) step.after = EndOfGameAnswers();
    recorder.AddStep(step, frame.state);
    last = frame.state;
}

}  // namespace qx::net
