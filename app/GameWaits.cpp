#include "app/GameWaits.h"

#include <QMessageBox>

#include "app/GameTexts.h"
#include "app/GamepadInput.h"
#include "app/LocalGameClock.h"
#include "app/NewGameDialog.h"
#include "app/ReplayController.h"
#include "game/Game.h"
#include "game/GameWait.h"

GameWaits::GameWaits(qx::Game& game, LocalGameClock& clock, GamepadInput& pads,
                     ReplayController& replays, QWidget* window, ModalOpener open)
    : QObject(window),
      game(game),
      clock(clock),
      pads(pads),
      replays(replays),
      window(window),
      open(std::move(open)) {}

void GameWaits::Follow() {
    if (!game.Waiting() || waitWindow) return;
    clock.Wait();
    emit Changed();
    if (game.State().wait.what == qx::WaitFor::EndOfGameBox) {
        OpenEndOfGame();
    } else {
        OpenNewGameChoice();
    }
}

void GameWaits::OpenEndOfGame() {
    auto* box = new QMessageBox(
        QMessageBox::NoIcon, GameTexts::Translate(qx::GameWait::EndOfGameCaption()),
        GameTexts::Translate(game.State().wait.EndOfGameText()), QMessageBox::Ok, window);
    box->setTextFormat(Qt::PlainText);
    waitWindow = box;
    open(box, WaitInPlay(), [this](int) { Answer(qx::GameInput::EndOfGameClosed()); });
}

// Whether the game came to wait in the middle of play (the end of a game),
// not at the player's command.
bool GameWaits::WaitInPlay() const {
    return game.State().wait.resume != qx::ResumeAt::NoTick;
}

// The players as they are now; with a pad attached also which side it plays.
void GameWaits::OpenNewGameChoice() {
    const qx::PlayerChoice now{!game.State().emperor.Computer(), !game.State().rebel.Computer()};
    auto* dialog = new NewGameDialog(now, window);
    pads.SetAccepts(GamepadInput::Accepts::Nothing);
    pads.Poll();  // pads plugged in since the last look
    if (pads.PadCount() > 0) dialog->ShowPadChoice(pads.FirstPadPlaysEmperor());
    waitWindow = dialog;
    open(dialog, WaitInPlay(), [this, dialog](int result) {
        if (result != QDialog::Accepted) return Answer(qx::GameInput::PlayersChosen(std::nullopt));
        if (pads.PadCount() > 0) pads.SetFirstPadPlaysEmperor(dialog->FirstPadPlaysEmperor());
        Answer(qx::GameInput::PlayersChosen(dialog->Choice()));
    });
}

// The answer of the window the game waited for; the game goes on (with the
// next window it waits for, or its clock).
void GameWaits::Answer(const qx::GameInput& answer) {
    waitWindow = nullptr;
    game.Apply(answer);
    // The first New game ends the game's start-up in the record.
    if (answer.kind == qx::InputKind::PlayersChosen) replays.AfterNewGame();
    emit Changed();
    if (game.Waiting()) return Follow();
    clock.Play();
}
