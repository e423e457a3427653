#pragma once

#include <deque>
#include <functional>

#include "common/ArenaToClient.h"
#include "game/Game.h"

// A host that plays the windows a game waits for, as a window would: closes the
// end-of-game box and answers the New game dialog with the next scripted
// choice (none left: OK, unchanged), and may run something while a window
// is open (a repaint, as a window gets during a modal dialog).
class AnsweringHost {
  public:
    std::deque<qx::PlayerChoice> answers;
    std::function<void()> whileOpen;
    int endBoxes = 0;
    int dialogs = 0;

    // Answers whatever the game waits for, until it waits no more.
    void Answer(qx::Game& game) {
        while (game.Waiting()) {
            const bool endBox = game.State().wait.what == qx::WaitFor::EndOfGameBox;
            ++(endBox ? endBoxes : dialogs);
            if (whileOpen) whileOpen();
            game.Apply(endBox ? qx::GameInput::EndOfGameClosed()
                              : qx::GameInput::PlayersChosen(NextChoice(game)));
        }
    }
    // A tick and the windows it opened.
    void Tick(qx::Game& game) {
        game.Tick();
        Answer(game);
    }
    // The New game command and its dialog.
    void NewGame(qx::Game& game) {
        game.Apply(qx::GameInput::NewGame());
        Answer(game);
    }

    // The mouse at client pixel (x, y), as the window sends it.
    static void MoveMouse(qx::Game& game, int32_t x, int32_t y) {
        if (const auto target = qx::ClientToArena(x, y, game.ClientRect())) {
            game.Apply(qx::GameInput::Target(target->x, target->y));
        }
    }

  private:
    qx::PlayerChoice NextChoice(const qx::Game& game) {
        if (answers.empty()) {
            return {!game.State().emperor.Computer(), !game.State().rebel.Computer()};
        }
        const qx::PlayerChoice next = answers.front();
        answers.pop_front();
        return next;
    }
};
