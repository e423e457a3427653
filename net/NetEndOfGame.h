#pragma once

#include <vector>

#include "game/GameInput.h"
#include "game/GameState.h"

namespace qx::net {

// Both sides of a network game are persons.
constexpr PlayerChoice kNetPlayers{true, true};

// In a network game the tick that ends a game is a meeting point (see
// RollbackSession): the tick itself goes on at once, on both machines the
// same, as if the end-of-game box were closed and the New game dialog that
// follows answered with the same players. These are those two answers.
std::vector<GameInput> EndOfGameAnswers();

// Whether the state waits for the end-of-game box, that is, the tick just
// run ended a game.
inline bool EndsGame(const GameState& state) {
    return state.wait.what == WaitFor::EndOfGameBox;
}

}  // namespace qx::net
