#pragma once

#include <cstdint>
#include <string>

#include "server/FinishedGame.h"

namespace qx::server {

// What a finished game came to, worked out by the server alone: its inputs
// run through the game's own rules from the room's seed (as both players'
// machines ran them), the replay of that (the file format every host
// plays) and the result.
//
// A game played to its agreed length (within kEndSlack ticks, the inputs
// still on their way when the first player left) is won by the side with
// more games won, then more wins in the game under way; equal is a draw.
// Before that, a player who left or went silent while the other stayed
// loses; both silent, a broken game (desync), a server stopping or a room
// that stopped recording give no result.
struct GameOutcome {
    enum class Result { None, EmperorWon, RebelWon, Draw };
    static constexpr uint32_t kEndSlack = 32;

    Result result = Result::None;
    std::string reason;  // "played", "left", "silent", "both-silent", "desync", ...
    bool rated = false;  // counts for the ratings
    uint32_t ticks = 0;
    int emperorGames = 0, rebelGames = 0;  // games won (three wins each)
    uint64_t checksum = 0;                 // the state's after the last tick
    std::string replay;                    // the replay file's text

    static GameOutcome Of(const FinishedGame& game);
};

const char* ResultText(GameOutcome::Result result);

}  // namespace qx::server
