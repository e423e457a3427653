#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "net/MatchConnection.h"
#include "net/Transport.h"
#include "tools/sim/SimOptions.h"

namespace qx::sim {

// The simulator's links to other machines, whatever carries them: native
// builds use ENet (NetLinks.cpp), the Node build a WebSocket to the match
// server (NetLinksNode.cpp).

// A direct link for --net-host or --net-join; null with `error` when it
// cannot be opened (or this build has none).
std::unique_ptr<net::Transport> OpenDirectLink(const NetSimOptions& net, std::string& error);

// Starts a connection to the match server at host:port that asks for
// `request` (then Update it until it is in the room or failed). Null with
// `error` when it cannot even start (an unknown host, no socket).
std::unique_ptr<net::MatchConnection> ConnectToMatchServer(const std::string& host, uint16_t port,
                                                           const net::MatchRequest& request,
                                                           std::string& error);

// Whether the server's connection hears from it even while nobody plays
// (ENet's pings), so that its silence means the server is gone. A WebSocket
// learns of a dead server from its TCP connection's end instead.
bool ServerLinkKeepsAlive();

// From now on SIGTERM and SIGINT (under Node: the process's) do not kill the
// simulator: they ask the network game to end as the player's leaving
// would (StopSignalled), so the goodbye goes out and the trace and replay
// are written.
void CatchStopSignals();
bool StopSignalled();

}  // namespace qx::sim
