#include "game/Game.h"

#include "game/GameRules.h"
#include "game/ScenePicture.h"

namespace qx {

void Game::Start(uint32_t seed, PlayerChoice players) {
    state = GameState::Start(seed, players);
    if (observer) observer->OnStart(seed, players);
}

void Game::SetClientSize(int32_t width, int32_t height) {
    clientRect = {0, 0, width > 0 ? width : 0, height > 0 ? height : 0};
    screen.Reset(clientRect.right, clientRect.bottom);
    screen.TrackWrites(true);
    renderer.SetTarget(&screen);
}

void Game::Apply(const GameInput& input) {
    if (observer) observer->OnInput(input);
    GameRules(state, &renderer).Apply(input);
}

void Game::Tick() {
    if (observer) observer->OnTickStart(state);
    GameRules(state, &renderer).Tick();
    if (observer) observer->OnTickEnd(state);
}

void Game::Step(const StepInputs& step) {
    for (const GameInput& input : step.before) Apply(input);
    Tick();
    for (const GameInput& input : step.after) Apply(input);
}

void Game::ShowState() {
    DrawScenePicture(state, renderer);
}

}  // namespace qx
