#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "net/MatchRoom.h"
#include "tools/sim/SimOptions.h"

namespace qx::sim {

// The way into a room of the match server, or why there is none.
struct RoomEntry {
    // In the room, its connection ready to be taken (the simulator runs the
    // game itself); null when it failed.
    std::unique_ptr<net::MatchRoom> room;
    std::string message;       // why it failed
    bool badArgument = false;  // no invite code given, or no invite file can be written
    bool roomRefused = false;  // no such room, or it is full (or cannot be watched)
};

// What the options ask the server for.
net::MatchRequest RequestFor(const SimOptions& options);

// Connects to the server of `options`, asks for the room and waits for the
// answer. Once the room is known its code is announced: a line "invite CODE"
// on `log` and, with --invite-file, the code in that file.
RoomEntry EnterRoom(const SimOptions& options, std::ostream* log);

// Writes a line to `log` for each notice of the server that it is closing
// since the last call ("the server is closing: the game may go on for at
// most N s"); `told` counts the notices told.
void TellClosing(const net::MatchClient& client, uint32_t& told, std::ostream* log);

// Writes `code` and a newline to `path` through a temporary file in the same
// folder renamed over it, so a reader never sees half a code.
bool WriteInviteFile(const std::string& path, const std::string& code, std::string& error);

}  // namespace qx::sim
