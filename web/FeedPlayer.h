#pragma once

#include <cstdint>
#include <memory>

#include "net/RollbackSession.h"
#include "net/SpectatorFeed.h"

namespace qx::web {

// A spectator's game: the room's feed played as the players played it. The
// host's Start packet starts a session (the same game both players run,
// with the Emperor's inputs as its local side and the Rebel's as the
// remote one), and every tick both sides' inputs have come for runs on it,
// confirmed at once; an end of game goes on as the players' games do once
// both closed the box. Follows the feed a tick per tick of the page and
// catches up faster when far behind (a spectator who came late).
class FeedPlayer {
  public:
    // A spectator keeps this many ticks behind the feed at most before it
    // plays faster.
    static constexpr uint32_t kFollowTicks = 8;
    // The most ticks one call of Play runs.
    static constexpr uint32_t kMaxCatchUp = 60;

    // One frame of the feed (the Start packet or a Feed frame); false for
    // one that does not fit.
    bool Add(const uint8_t* data, size_t size);
    // Plays what the page's tick should show; returns the ticks played.
    uint32_t Play();
    // Plays everything that is ready.
    uint32_t PlayAll();

    // The session once the Start packet came (null before).
    net::RollbackSession* Session() { return session.get(); }
    const net::RollbackSession* Session() const { return session.get(); }
    // Ticks received of both sides and not played yet.
    uint32_t Backlog() const;
    uint32_t Played() const { return played; }

  private:
    bool PlayOne();

    net::SpectatorFeed feed;
    std::unique_ptr<net::RollbackSession> session;
    uint32_t played = 0;
};

}  // namespace qx::web
