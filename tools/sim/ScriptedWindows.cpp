#include "tools/sim/ScriptedWindows.h"

namespace qx::sim {

void ScriptedWindows::Answer(Game& game, std::vector<GameInput>* given) {
    while (game.Waiting()) {
        const GameInput answer = NextAnswer(game.State());
        if (given) given->push_back(answer);
        game.Apply(answer);
    }
}

GameInput ScriptedWindows::NextAnswer(const GameState& state) {
    if (state.wait.what == WaitFor::EndOfGameBox) {
        ++gamesEnded;
        return GameInput::EndOfGameClosed();
    }
    PlayerChoice choice{!state.emperor.Computer(), !state.rebel.Computer()};
    if (!answers.empty()) {
        choice = answers.front();
        answers.pop_front();
    }
    return GameInput::PlayersChosen(choice);
}

}  // namespace qx::sim
