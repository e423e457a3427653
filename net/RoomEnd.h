#pragma once

#include <cstdint>
#include <string>

#include "net/MatchProtocol.h"
#include "net/NetPeer.h"

namespace qx::net {

// How a network game through the match server ended, the same value on
// every host: the game's own end (the other player, the server during the
// game, a desync), a refusal of the room, or a connection that never gave
// one. The words for it come from one table (NetEndTexts: RoomEndText).
struct RoomEnd {
    // The numbers are the page's too (web/page/net-texts.mjs: CAUSE).
    enum class Cause : uint8_t {
        None = 0,         // not over
        Game = 1,         // the game (or the watched feed) ended: `game` says how
        Refused = 2,      // the server refused the room: `refusal` says why
        BadCode = 3,      // the request names no invite code
        Unreachable = 4,  // the server could not be reached
        NoAnswer = 5,     // the server gave no room in time
        Closed = 6,       // the server ended the connection before the room
    };
    Cause cause = Cause::None;
    PeerEnd game = PeerEnd::None;
    MatchError refusal = MatchError::BadRequest;
    bool hosting = false;     // a player who hosted the game (some words differ)
    bool spectating = false;  // a spectator's end
    uint32_t tick = 0;        // the tick the game ended at
    // The one figure the words name: the invite code for a refusal, the
    // server for a connection's failure, the tick of a desync.
    std::string figure;

    bool Over() const { return cause != Cause::None; }
};

}  // namespace qx::net
