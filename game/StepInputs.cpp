#include "game/StepInputs.h"

#include "game/GameRules.h"

namespace qx {

void RunStep(GameState& state, const StepInputs& step, DrawSink* sink) {
    GameRules rules(state, sink);
    for (const GameInput& input : step.before) rules.Apply(input);
    rules.Tick();
    for (const GameInput& input : step.after) rules.Apply(input);
}

}  // namespace qx
