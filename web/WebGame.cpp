#include "web/WebGame.h"

namespace qx::web {

WebGame::WebGame(PageDialogs& dialogs) : dialogs(dialogs) {}

void WebGame::Start(uint32_t seed, const PlayerChoice& players, int32_t width, int32_t height) {
    game.OnSize(width, height);
    game.Start(seed, players);
    game.OnPaint();
}

void WebGame::Resize(int32_t width, int32_t height) {
    game.OnSize(width, height);
    game.OnPaint();
}

void WebGame::Paint() {
    game.OnPaint();
}

bool WebGame::Tick() {
    if (!game.State().timerRunning || newGameOpen) return false;
    game.OnTimer();
    return true;
}

void WebGame::MouseMove(int32_t x, int32_t y) {
    game.OnMouseMove(x, y);
}

void WebGame::LeftButton() {
    game.OnLButtonDown();
}

void WebGame::RightButton() {
    game.OnRButtonDown();
}

void WebGame::Key(GameKey key) {
    game.OnKeyDown(key);
}

void WebGame::NewGame() {
    if (!newGameOpen) game.OnGameNew();
}

// OK applies the boxes as the game does after its dialog; closing the dialog
// any other way keeps the players as they were.
void WebGame::CloseNewGameDialog(bool confirmed, const PlayerChoice& choice) {
    if (!newGameOpen) return;
    newGameOpen = false;
    if (!confirmed) return;
    GameState state = game.State();
    state.emperor.SetComputer(!choice.emperorHuman);
    state.rebel.SetComputer(!choice.rebelHuman);
    game.Restore(state);
}

// The game's state records whether its timer runs; the page's interval only
// asks Tick, which looks there.
uint32_t WebGame::SetGameTimer() {
    return Game::kTimerId;
}

void WebGame::KillGameTimer() {}

void WebGame::ShowEndOfGame(const std::string& caption, const std::string& text) {
    dialogs.OpenEndOfGame(caption, text);
}

bool WebGame::RunNewGameDialog(PlayerChoice& choice) {
    newGameOpen = true;
    dialogs.OpenNewGame(choice);
    return false;
}

}  // namespace qx::web
