#include "game/Game.h"

#include "common/ArenaToClient.h"
#include "game/GameRules.h"
#include "game/ScenePicture.h"

namespace qx {

Game::Game(GameHost& host) : host(host) {
    renderer.SetTarget(&screen);
}

void Game::Start(uint32_t seed, PlayerChoice players) {
    state = GameState::Start(seed, players);
    if (observer) observer->OnStart(seed, players);
    host.SetGameTimer();
}

void Game::OnSize(int32_t width, int32_t height) {
    clientRect = {0, 0, width > 0 ? width : 0, height > 0 ? height : 0};
    screen.Reset(clientRect.right, clientRect.bottom);
    screen.TrackWrites(true);
    renderer.SetTarget(&screen);
}

void Game::Apply(const GameInput& input) {
    if (observer) observer->OnInput(input);
    GameRules(state, host, &renderer).Apply(input);
}

void Game::Tick() {
    if (observer) observer->OnTickStart(state);
    GameRules(state, host, &renderer).Tick();
    if (observer) observer->OnTickEnd(state);
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
