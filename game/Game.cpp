#include "game/Game.h"

#include "common/ArenaToClient.h"
#include "game/GameRules.h"
#include "game/ScenePicture.h"

namespace qx {

void Game::Start(uint32_t seed, PlayerChoice players) {
    state = GameState::Start(seed, players);
    if (observer) observer->OnStart(seed, players);
    if (host) host->SetGameTimer();
}

void Game::OnSize(int32_t width, int32_t height) {
    clientRect = {0, 0, width > 0 ? width : 0, height > 0 ? height : 0};
    screen.Reset(clientRect.right, clientRect.bottom);
    screen.TrackWrites(true);
    renderer.SetTarget(&screen);
}

void Game::Apply(const GameInput& input) {
    if (observer) observer->OnInput(input);
    GameRules(state, &renderer).Apply(input);
    AskHost();
}

void Game::Tick() {
    if (observer) observer->OnTickStart(state);
    GameRules(state, &renderer).Tick();
    if (observer) observer->OnTickEnd(state);
    AskHost();
}

void Game::Step(const StepInputs& step) {
    for (const GameInput& input : step.before) Apply(input);
    Tick();
    for (const GameInput& input : step.after) Apply(input);
}

// Inputs that come while a blocking window is open (a repaint) are applied
// as they come; the loop below answers the waits one after the other.
void Game::AskHost() {
    if (!host || asking || !state.wait.Waiting()) return;
    asking = true;
    host->KillGameTimer();
    while (state.wait.Waiting()) {
        if (state.wait.what == WaitFor::EndOfGameBox) {
            host->ShowEndOfGame(GameWait::EndOfGameCaption(), state.wait.EndOfGameText());
            Apply(GameInput::EndOfGameClosed());
        } else {
            PlayerChoice choice{!state.emperor.Computer(), !state.rebel.Computer()};
            const bool accepted = host->RunNewGameDialog(choice);
            Apply(GameInput::PlayersChosen(accepted ? std::optional(choice) : std::nullopt));
        }
    }
    host->SetGameTimer();
    asking = false;
}

void Game::ShowState() {
    DrawScenePicture(state, renderer);
}

void Game::OnPaint() {
    Apply(GameInput::Repaint());
}

void Game::OnTimer() {
    Tick();
}

void Game::OnMouseMove(int32_t px, int32_t py) {
    if (const auto target = ClientToArena(px, py, clientRect)) {
        Apply(GameInput::Target(target->x, target->y));
    }
}

void Game::OnLButtonDown() {
    Apply(GameInput::Fire(Weapon::Forward));
}

void Game::OnRButtonDown() {
    Apply(GameInput::Fire(Weapon::Down));
}

void Game::OnKeyDown(GameKey key) {
    Apply(GameInput::Key(key));
}

void Game::OnGameNew() {
    Apply(GameInput::NewGame());
}

}  // namespace qx
