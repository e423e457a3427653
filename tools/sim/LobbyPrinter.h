#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "net/MatchProtocol.h"

namespace qx::sim {

// The lobby as the simulator prints it (--lobby): a line
//   lobby open N live N
// with the server's totals, then one line per game listed:
//   open CODE side rebel|emperor waiting SECONDS rating R|- name "NAME"
//   live CODE ticks N seconds SECONDS spectators N emperor "NAME" rebel "NAME"
// (the side of an open game is the free one a joiner gets; names quoted
// with quotes and backslashes escaped, "" for anonymous players).
std::string FormatLobby(const net::LobbyList& list);

// Connects to the match server, asks for the lobby, prints it to `out`,
// then `updates` more copies as the lobby changes. The exit status: 0 done,
// 3 the server could not be reached, refused or went away.
int PrintLobby(const std::string& host, uint16_t port, int64_t updates, std::ostream& out,
               std::ostream& log);

}  // namespace qx::sim
