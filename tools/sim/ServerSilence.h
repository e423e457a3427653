#pragma once

#include <cstdint>

#include "net/Transport.h"

namespace qx::sim {

// Tells when the match server went away without a word (killed, its machine
// gone): nothing at all arrived on the connection for kSilentMs. While the
// server lives something always comes (the other player's packets, the
// feed, or the answers to the link's own pings), so this is quicker than
// the game's own silence limit and names the server rather than the other
// player.
class ServerSilence {
  public:
    static constexpr uint64_t kSilentMs = 3000;

    explicit ServerSilence(const net::Transport& link) : link(link) {}

    // Whether the server has been silent for kSilentMs at `nowMs`.
    bool Silent(uint64_t nowMs);

  private:
    const net::Transport& link;
    uint64_t lastBytes = 0;
    uint64_t lastHeard = 0;
    bool started = false;
};

}  // namespace qx::sim
