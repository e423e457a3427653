#pragma once

#include <cstdint>

#include "net/Transport.h"

namespace qx::net {

// The liveness rule for a link to the match server, the same as for the
// other machine (NetPeer's silence): kSilentMs with nothing at all arriving
// ends the game. While the server lives something always comes (the other
// player's packets, a spectator's feed, or ENet's own pings), and an outage
// shorter than the rule ends nothing.
class LinkSilence {
  public:
    static constexpr uint64_t kSilentMs = 5000;

    explicit LinkSilence(const Transport& link) : link(link) {}

    // The rule itself, for every link and peer: `quietMs` with nothing
    // heard is silence from `limitMs` on.
    static bool Over(uint64_t quietMs, uint64_t limitMs) { return quietMs >= limitMs; }

    // Whether nothing came for kSilentMs at `nowMs` (the first call starts
    // the count).
    bool Silent(uint64_t nowMs);
    // How long nothing came, at `nowMs`.
    uint64_t QuietFor(uint64_t nowMs) const { return started ? nowMs - lastHeard : 0; }
    // Starts the count again (for links that only now must hear something).
    void Restart(uint64_t nowMs);

  private:
    const Transport& link;
    uint64_t lastBytes = 0;
    uint64_t lastHeard = 0;
    bool started = false;
};

}  // namespace qx::net
