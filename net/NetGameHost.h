#pragma once

#include <string>

#include "game/GameHost.h"

namespace qx::net {

// The game's host while a network game runs its ticks (live, predicted or
// re-run): the game's timer is the session's, the end-of-game box is only
// noted (the window shows it once both machines agree the game ended there)
// and the New game dialog after the end is answered at once with the same
// players, as both machines must.
class NetGameHost : public GameHost {
  public:
    uint32_t SetGameTimer() override;
    void KillGameTimer() override {}
    void ShowEndOfGame(const std::string& caption, const std::string& text) override;
    bool RunNewGameDialog(PlayerChoice& choice) override;

    // Forgets the last end; then Ended() tells whether a tick ended a game.
    void BeginTick() { ended = false; }
    bool Ended() const { return ended; }
    const std::string& EndCaption() const { return caption; }
    const std::string& EndText() const { return text; }

  private:
    bool ended = false;
    std::string caption;
    std::string text;
};

}  // namespace qx::net
