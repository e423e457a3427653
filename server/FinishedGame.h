#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "server/PlayerIdentity.h"

namespace qx::server {

// A game the server relayed, as it stood when it was over: who played,
// how it ended as the server saw it (goodbyes, who left first, who went
// silent) and every tick's inputs of both sides, encoded as the players
// sent them. This is all the history keeps a game from; its result is
// worked out from the inputs (GameOutcome), never taken from a client.
struct FinishedGame {
    std::string id;  // unique: the history and its journal name the game by it
    std::string code;
    uint32_t seed = 0;
    uint32_t agreedTicks = 0;  // the length the Start packet agreed (0: no limit)
    bool quick = false;
    bool ratedAsked = false;
    std::array<PlayerIdentity, 2> players;  // Emperor, Rebel
    int64_t startedAt = 0;                  // Unix time in milliseconds
    int64_t endedAt = 0;
    std::array<uint8_t, 2> bye{};                // each side's goodbye reason (0: none)
    std::array<bool, 2> silent{};                // dropped for silence
    int firstOut = -1;                           // the side (0, 1) that left while the other stayed
    bool recordedAll = true;                     // false: the room stopped recording
    std::string ending;                          // the room's end as logged ("players left", ...)
    uint32_t confirmed = 0;                      // ticks with both sides' inputs
    std::array<std::vector<uint8_t>, 2> inputs;  // ticks 1..confirmed, encoded back to back

    bool operator==(const FinishedGame&) const = default;

    // The journal's form of the game, and back (false: damaged).
    std::vector<uint8_t> Encode() const;
    static bool Decode(const uint8_t* data, size_t size, FinishedGame& game);
};

}  // namespace qx::server
