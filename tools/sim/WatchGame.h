#pragma once

#include <ostream>

#include "net/MatchConnection.h"
#include "replay/Replay.h"
#include "tools/sim/NetSimulator.h"
#include "tools/sim/SimOptions.h"

namespace qx::sim {

// A spectator through the match server, on a connection already in the
// room: plays the room's feed to a game started from the host's Start
// packet and writes the trace and (when `record` is given) the replay of
// its ticks from tick 1, the same as the players'. Ends when the feed is
// complete, the agreed ticks or --ticks are played (Done), when the server
// goes away (Silent), or when the feed cannot be played (Garbled, or Desync
// from the sync test). The server's notices that it is closing go to `log`.
NetSimResult WatchGame(const SimOptions& options, net::MatchConnection& link, std::ostream* trace,
                       Replay* record, std::ostream* log = nullptr);

}  // namespace qx::sim
