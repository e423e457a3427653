#pragma once

#include <cstdint>
#include <string>

#include "net/Packet.h"
#include "net/RollbackSession.h"

namespace qx::sim {

// A spectator's game: started from the host's Start packet exactly as the
// players' sessions start, then run a tick at a time with both sides' known
// inputs (so every tick is confirmed at once and goes to the listener, the
// same frames the players confirm). The end-of-game box is closed for both
// players, as the players close theirs before the next game starts.
class SpectatorGame {
  public:
    SpectatorGame(const net::StartPacket& start, int32_t syncTestTicks,
                  net::ConfirmedListener& listener);

    net::RollbackSession& Session() { return session; }
    // Plays the next tick. False (and the game stands) when a side's list
    // holds inputs that side cannot make, or when the game refuses the tick
    // (the sync test found a difference, the agreed ticks are done): see
    // Failure().
    bool Play(const net::InputList& emperor, const net::InputList& rebel);
    uint32_t Tick() const { return session.ConfirmedTick(); }
    const std::string& Failure() const { return failure; }
    // Whether the failure is the sync test's: the game is not the same when
    // run again.
    bool Desync() const { return desync; }

  private:
    net::RollbackSession session;
    std::string failure;
    bool desync = false;
};

}  // namespace qx::sim
