#pragma once

#include <cstdint>
#include <string>

#include "ships/Facing.h"
#include "ships/Side.h"

namespace qx {

// What the game waits for before it goes on: nothing, the player to close
// the end-of-game box, or the choice of players in the New game dialog.
// While it waits the timer stands still and only the answer (and repaints)
// move the game on; hosts show the window the wait names and send its answer
// as an input.
enum class WaitFor : uint8_t {
    Nothing = 0,
    EndOfGameBox = 1,
    NewGameChoice = 2,
};

// Where the tick that was interrupted by a finished game goes on once the
// New game dialog is answered: after the Emperor's defeat was settled (the
// Rebel's is settled next) or after the Rebel's. A New game from the menu
// interrupts no tick.
enum class ResumeAt : uint8_t {
    NoTick = 0,
    AfterEmperorLost = 1,
    AfterRebelLost = 2,
};

struct GameWait {
    WaitFor what = WaitFor::Nothing;
    ResumeAt resume = ResumeAt::NoTick;
    Side loser = Side::Emperor;           // whose last defeat the end-of-game box tells
    Facing facing = Facing::EmperorLeft;  // the interrupted tick's facing

    bool operator==(const GameWait&) const = default;
    bool Waiting() const { return what != WaitFor::Nothing; }

    // The end-of-game box's caption and text.
    static std::string EndOfGameCaption();
    std::string EndOfGameText() const;
};

}  // namespace qx
