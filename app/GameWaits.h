#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <functional>

#include "app/ModalOpener.h"

class GamepadInput;
class LocalGameClock;
class ReplayController;

namespace qx {
class Game;
struct GameInput;
}  // namespace qx

// The windows the window's own game waits for: the end-of-game box and the
// New game dialog, opened once each time the game comes to wait (its clock
// stands still meanwhile), and their answers, given back to the game, which
// then waits for the next window or plays on.
class GameWaits : public QObject {
    Q_OBJECT

  public:
    GameWaits(qx::Game& game, LocalGameClock& clock, GamepadInput& pads, ReplayController& replays,
              QWidget* window, ModalOpener open);

    // After every input and tick of the game: a game that waits shows the
    // window it waits for, once.
    void Follow();

  signals:
    // The game stopped to wait or took an answer: the view and the title
    // show it (the final score while the end box is open).
    void Changed();

  private:
    void OpenEndOfGame();
    void OpenNewGameChoice();
    bool WaitInPlay() const;
    void Answer(const qx::GameInput& answer);

    qx::Game& game;
    LocalGameClock& clock;
    GamepadInput& pads;
    ReplayController& replays;
    QWidget* window;
    ModalOpener open;
    QPointer<QDialog> waitWindow;  // the window the game waits for, while open
};
