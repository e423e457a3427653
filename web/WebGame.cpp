#include "web/WebGame.h"

#include "common/Random.h"

namespace qx::web {

WebGame::WebGame(PageDialogs& dialogs) : dialogs(dialogs) {}

void WebGame::Start(uint32_t seed, bool emperorComputer, bool rebelComputer, int32_t width,
                    int32_t height) {
    RandomSeed(seed);
    game.StartTimer();
    game.ApplyStoredPlayers(emperorComputer, rebelComputer);
    game.CreateWorkBitmaps();
    Resize(width, height);
}

void WebGame::Resize(int32_t width, int32_t height) {
    game.OnSize(width, height);
    game.OnPaint();
}

void WebGame::Paint() {
    game.OnPaint();
}

bool WebGame::Tick() {
    if (!timerRunning || newGameOpen) return false;
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

void WebGame::Key(int virtualKey) {
    game.OnKeyDown(virtualKey);
}

void WebGame::NewGame() {
    if (!newGameOpen) game.OnGameNew();
}

// OK applies the boxes as the game does after its dialog; closing the dialog
// any other way keeps the players as they were.
void WebGame::CloseNewGameDialog(bool confirmed, const PlayerChoice& choice) {
    if (!newGameOpen) return;
    newGameOpen = false;
    if (confirmed) game.ApplyStoredPlayers(!choice.emperorHuman, !choice.rebelHuman);
}

uint32_t WebGame::SetGameTimer() {
    timerRunning = true;
    return Game::kTimerId;
}

void WebGame::KillGameTimer() {
    timerRunning = false;
}

void WebGame::ShowEndOfGame(const std::string& caption, const std::string& text) {
    dialogs.OpenEndOfGame(caption, text);
}

bool WebGame::RunNewGameDialog(PlayerChoice& choice) {
    newGameOpen = true;
    dialogs.OpenNewGame(choice);
    return false;
}

}  // namespace qx::web
