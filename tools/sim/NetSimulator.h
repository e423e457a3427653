#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "net/NetPeer.h"
#include "tools/sim/InputScript.h"
#include "tools/sim/SimOptions.h"
#include "tools/sim/Simulator.h"

namespace qx::sim {

struct NetSimResult {
    SimSummary summary;  // over the confirmed ticks
    net::PeerEnd end = net::PeerEnd::None;
    std::string message;             // why the game ended, when not as agreed
    std::vector<std::string> notes;  // what the run changed from what was asked
    std::string figures;             // the network figures, one line
    bool started = false;            // this machine began the agreed game (recorded its start)
    bool roomRefused = false;        // the match server has no such room, or it is full
    bool badArgument = false;        // an invite code or invite file that cannot be used
};

// One machine of a network game: hosts or joins (directly, or through a
// match server, where it may also watch a room's game: see WatchGame), plays this side's scripted
// events (mouse and buttons for the Emperor, keys for the Rebel; a resize or
// paint only changes this machine's picture; New game is New game for two
// persons) and writes the trace of the confirmed ticks and (when `record`
// is given) their replay, both the same on both machines. The end-of-game
// box is closed at once.
// Through a server the room's invite code goes to `log` ("invite CODE") as
// soon as the server gives it.
NetSimResult RunNetworkGame(const SimOptions& options, const std::vector<InputEvent>& events,
                            std::ostream* trace, Replay* record, std::ostream* log = nullptr);

// The exit status for a network game's end: 0 done, 1 desync, 3 the other
// machine could not be reached, went silent or left.
int NetExitStatus(net::PeerEnd end);
// The same for a whole run: also 2 for an unusable invite code or file and
// 4 for a room the server does not have or that is full.
int NetExitStatus(const NetSimResult& result);

}  // namespace qx::sim
