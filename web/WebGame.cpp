#include "web/WebGame.h"

#include "common/ArenaToClient.h"
#include "replay/ReplayWriter.h"

namespace qx::web {

void WebGame::Start(uint32_t seed, const PlayerChoice& players, int32_t width, int32_t height) {
    game.SetClientSize(width, height);
    game.Start(seed, players);
    Apply(GameInput::Repaint());
}

void WebGame::Resize(int32_t width, int32_t height) {
    game.SetClientSize(width, height);
    Apply(GameInput::Repaint());
}

void WebGame::Paint() {
    Apply(GameInput::Repaint());
}

bool WebGame::Tick() {
    if (!Ticking()) return false;
    game.Tick();
    OpenWaitingDialog();
    return true;
}

void WebGame::MouseMove(int32_t x, int32_t y) {
    if (const auto target = ClientToArena(x, y, game.ClientRect())) {
        Apply(GameInput::Target(target->x, target->y));
    }
}

void WebGame::LeftButton() {
    Apply(GameInput::Fire(Weapon::Forward));
}

void WebGame::RightButton() {
    Apply(GameInput::Fire(Weapon::Down));
}

void WebGame::Key(GameKey key) {
    Apply(GameInput::Key(key));
}

void WebGame::NewGame() {
    if (!game.Waiting()) Apply(GameInput::NewGame());
}

void WebGame::CloseEndOfGame() {
    if (game.State().wait.what != WaitFor::EndOfGameBox) return;
    shown = WaitFor::Nothing;
    Apply(GameInput::EndOfGameClosed());
}

// OK answers with the boxes' choice; closing the dialog any other way keeps
// the players as they were.
void WebGame::CloseNewGameDialog(bool confirmed, const PlayerChoice& choice) {
    if (!NewGameDialogOpen()) return;
    shown = WaitFor::Nothing;
    Apply(GameInput::PlayersChosen(confirmed ? std::optional(choice) : std::nullopt));
    if (startUpOpen) {
        startUpOpen = false;
        recorder.EndStartUp(game.State());
    }
}

std::string WebGame::ReplayText() const {
    return qx::ReplayText(recorder.Finish(game.State()));
}

void WebGame::Apply(const GameInput& input) {
    game.Apply(input);
    OpenWaitingDialog();
}

// Opens the page's dialog for what the game now waits for, once.
void WebGame::OpenWaitingDialog() {
    const GameWait& wait = game.State().wait;
    if (wait.what == shown) return;
    shown = wait.what;
    if (wait.what == WaitFor::EndOfGameBox) {
        dialogs.OpenEndOfGame(GameWait::EndOfGameCaption(), wait.EndOfGameText());
    } else if (wait.what == WaitFor::NewGameChoice) {
        dialogs.OpenNewGame({!EmperorComputer(), !RebelComputer()});
    }
}

}  // namespace qx::web
