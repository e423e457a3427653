#pragma once

#include "game/GameHost.h"

namespace qx {

// A host with no timer and no windows, for games nobody watches; the New
// game dialog is confirmed with the players unchanged.
class ReplayQuietHost : public GameHost {
  public:
    uint32_t SetGameTimer() override { return 5; }
    void KillGameTimer() override {}
    void ShowEndOfGame(const std::string&, const std::string&) override {}
    bool RunNewGameDialog(PlayerChoice&) override { return true; }
};

}  // namespace qx
