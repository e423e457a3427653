#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "net/MatchConnection.h"

namespace qx::sim {

// Starts a connection to the match server at host:port that asks for
// `request` (then Update it until it is in the room or failed). Native
// builds connect over ENet; the Node build over a WebSocket. Null with
// `error` when it cannot even start (an unknown host, no socket).
std::unique_ptr<net::MatchConnection> ConnectToMatchServer(const std::string& host, uint16_t port,
                                                           const net::MatchRequest& request,
                                                           std::string& error);

}  // namespace qx::sim
