#pragma once

#include "web/PageDialogs.h"

namespace qx::web {

// Opens the page's HTML dialogs through the page script's hooks
// (Module.page.openEndOfGame / openNewGame).
class BrowserDialogs : public PageDialogs {
  public:
    void OpenEndOfGame(const std::string& caption, const std::string& text) override;
    void OpenNewGame(const PlayerChoice& choice) override;
};

}  // namespace qx::web
