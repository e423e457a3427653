#pragma once

#include <cstdint>
#include <string>

#include "game/PlayerChoice.h"

namespace qx {

// What the game needs from the desktop shell (or another host): the game
// timer and the two modal windows. The game's state records whether the
// timer runs; these calls let the host start and stop its own timer at the
// same moments. The modal calls return only when the window has been closed;
// the game's state is consistent while they run.
class GameHost {
  public:
    virtual ~GameHost() = default;

    // Starts the 30 ms game timer and returns its identifier (5).
    virtual uint32_t SetGameTimer() = 0;
    virtual void KillGameTimer() = 0;

    // The end-of-game message box: modal, OK only.
    virtual void ShowEndOfGame(const std::string& caption, const std::string& text) = 0;

    // The New game dialog, its check boxes preset from `choice`. Returns true
    // when closed with OK, with the boxes' state written back to `choice`.
    virtual bool RunNewGameDialog(PlayerChoice& choice) = 0;
};

}  // namespace qx
