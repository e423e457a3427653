#pragma once

#include <cstdint>

#include "game/GameInput.h"
#include "game/PlayerChoice.h"

namespace qx {

enum class ReplayEventKind : uint8_t {
    Input,            // an input the game took: `input`
    EndOfGameClosed,  // the end-of-game box was closed
    DialogAnswer,     // the New game dialog was closed; the players are then `answer`
};

// One thing a replay gives back to the game, in the order it happened: an
// input, or the close of one of the host's modal windows. A dialog closed
// without OK is recorded as an answer with the players unchanged, which has
// the same effect.
struct ReplayEvent {
    ReplayEventKind kind = ReplayEventKind::Input;
    GameInput input;
    PlayerChoice answer;

    bool operator==(const ReplayEvent&) const = default;

    static ReplayEvent Of(const GameInput& in) {
        ReplayEvent event;
        event.input = in;
        return event;
    }
    static ReplayEvent EndOfGame() {
        ReplayEvent event;
        event.kind = ReplayEventKind::EndOfGameClosed;
        return event;
    }
    static ReplayEvent Answer(PlayerChoice players) {
        ReplayEvent event;
        event.kind = ReplayEventKind::DialogAnswer;
        event.answer = players;
        return event;
    }
};

}  // namespace qx
