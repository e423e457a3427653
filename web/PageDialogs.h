#pragma once

#include <string>

#include "game/PlayerChoice.h"

namespace qx::web {

// The page's own dialogs, as the browser host opens them when the game comes
// to wait for one. Each call only opens the dialog; the page reports its
// closing later (WebGame::CloseEndOfGame, WebGame::CloseNewGameDialog).
class PageDialogs {
  public:
    virtual ~PageDialogs() = default;

    virtual void OpenEndOfGame(const std::string& caption, const std::string& text) = 0;
    virtual void OpenNewGame(const PlayerChoice& choice) = 0;
};

}  // namespace qx::web
