#pragma once

#include <string>

#include "game/GameHost.h"

namespace qx::web {

// The page's own dialogs, as the browser host opens them. A browser cannot
// wait for a dialog inside a call, so each call only opens the dialog (the
// page shows them one after another, in the order they were opened); the
// page reports the New game answer later through WebGame::CloseNewGameDialog.
class PageDialogs {
  public:
    virtual ~PageDialogs() = default;

    virtual void OpenEndOfGame(const std::string& caption, const std::string& text) = 0;
    virtual void OpenNewGame(const PlayerChoice& choice) = 0;
};

}  // namespace qx::web
