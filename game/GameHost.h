#pragma once

#include <cstdint>
#include <string>

namespace qx {

// Who plays each side, as the New game dialog shows it ("Clovek" checked
// means a person plays that side).
struct PlayerChoice {
    bool emperorHuman = true;
    bool rebelHuman = true;
};

// What the game needs from the desktop shell (or the simulator): the game
// timer and the two modal windows. The modal calls return only when the
// window has been closed; the game's state is consistent while they run.
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
