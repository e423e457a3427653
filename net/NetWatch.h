#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/LinkSilence.h"
#include "net/NetGame.h"
#include "net/SpectatorFeed.h"

namespace qx::net {

struct NetWatchOptions {
    int32_t syncTestTicks = 0;
    // One tick per this many ms, faster while far behind the feed; 0: every
    // tick as soon as it is ready (the simulator).
    uint32_t tickMs = 30;
    uint32_t lastTick = 0;  // stop after this tick; 0: at the game's own end
    // As NetGameOptions::serverKeepsAlive: a WebSocket hears nothing while
    // the room waits for its game, so its silence counts only once the feed runs.
    bool serverKeepsAlive = true;
};

// A game watched through the match server, the same for every host: the
// room's feed (the host's start, then both sides' inputs tick by tick)
// played on a session started exactly as the players' are, every tick
// confirmed at once (the same frames the players confirm), the end-of-game
// box closed for both as the players close theirs. The host hands it its
// clock; Update returns what to do (Begin, Draw, Ended) as NetGame does.
// Ends when the feed is complete and played (Done), the agreed or asked
// ticks are played (Done), the players left before the game began (Left),
// the server's connection ended (ServerLost) or went silent (ServerSilent,
// the rule of LinkSilence), the feed makes no sense (Garbled) or the sync
// test finds a difference (Desync).
class NetWatch : private ConfirmedListener {
  public:
    // A spectator keeps this many ticks behind the feed at most before it
    // plays faster, and plays at most kMaxCatchUp ticks in one Update.
    static constexpr uint32_t kFollowTicks = 8;
    static constexpr uint32_t kMaxCatchUp = 60;

    NetWatch(Transport& link, const NetWatchOptions& options);
    ~NetWatch() override;

    const std::vector<NetRequest>& Update(uint64_t nowMs);
    // The viewer stops watching (Quit).
    void Leave();

    bool Ended() const { return end != PeerEnd::None; }
    PeerEnd End() const { return end; }
    const std::string& EndDetail() const { return detail; }
    // The last tick played.
    uint32_t Tick() const { return session ? session->ConfirmedTick() : 0; }
    bool Begun() const { return session != nullptr; }
    Game* SharedGame() { return session ? &session->GetGame() : nullptr; }
    const RollbackSession* Session() const { return session.get(); }
    // Frames that were no part of the feed (and were left out).
    uint64_t RefusedFrames() const { return refusedFrames; }
    // Ticks received from both sides and not played yet.
    uint32_t Backlog() const;
    Replay TakeReplay() const { return session ? replay.Finish() : Replay{}; }
    void SetConfirmedListener(ConfirmedListener* value) { extra = value; }

  private:
    void OnConfirmed(uint32_t tick, const Frame& frame) override;
    void Read();
    void Begin();
    void PlayDue(uint64_t nowMs);
    bool PlayOne();
    bool AllPlayed() const;
    void Finish(PeerEnd why, std::string text = {});

    Transport& link;
    NetWatchOptions options;
    SpectatorFeed feed;
    std::unique_ptr<RollbackSession> session;
    NetReplayRecorder replay;
    ConfirmedListener* extra = nullptr;
    LinkSilence silence;
    std::vector<NetRequest> requests;
    uint64_t nextTickAt = 0;
    uint64_t refusedFrames = 0;
    bool complete = false;  // the server said the feed is complete
    bool lost = false;      // the connection ended before that
    PeerEnd end = PeerEnd::None;
    std::string detail;
};

}  // namespace qx::net
