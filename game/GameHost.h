#pragma once

#include <cstdint>
#include <string>

#include "game/PlayerChoice.h"

namespace qx {

// A host whose windows block until they are closed. The game itself never
// needs this: it waits in its state (GameState::wait) and takes the windows'
// answers as inputs. Game(GameHost&) is the one place that still calls a
// host like this, for the desktop window, which shows its modal boxes with
// their own event loops; it applies each answer as an ordinary input.
// The game's state records whether the timer runs; the timer calls let the
// host start and stop its own timer at the same moments.
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
