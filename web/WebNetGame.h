#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/GameInput.h"
#include "net/MatchConnection.h"
#include "net/NetPeer.h"
#include "net/NetReplayRecorder.h"
#include "web/FeedPlayer.h"

namespace qx::web {

// A network game in the page through the match server: the room asked for
// (create, join, quick match or watch), then the players' rollback session
// (NetPeer, as the desktop runs it) or a spectator's game from the room's
// feed. The page drives it without ever blocking: Pump when the socket has
// something, Tick on its 30 ms clock; the screen, inputs, the end-of-game
// box and the figures for the status line go through here while it runs.
//
// As on the desktop: both sides are persons, there is no New game dialog
// ("Nova" starts a new game on both machines at the same tick), the end of
// a game shows its box on both machines at the same tick and the next game
// starts once both players closed it; local events (a resize, a repaint)
// only show the shared game and change nothing in it.
class WebNetGame : private net::ConfirmedListener {
  public:
    enum class Phase { Connecting, WaitingForPlayer, Playing, Watching, Over };
    // Why it is over, beyond NetPeer's own ends.
    enum class Outcome {
        Running,
        Peer,             // NetPeer ended it: PeerEnd()
        NoRoom,           // the room could not be had: Client() says why
        ServerLost,       // the server's connection ended during the game
        WatchedToTheEnd,  // a spectator saw the whole game
        Quit,             // the local player left
    };

    WebNetGame(std::unique_ptr<net::MatchConnection> connection, int32_t width, int32_t height);
    WebNetGame(const WebNetGame&) = delete;
    WebNetGame& operator=(const WebNetGame&) = delete;
    ~WebNetGame() override;

    // Reads what has arrived and answers it; returns whether the screen may
    // have changed (a rollback).
    bool Pump(uint64_t nowMs);
    // One tick of the game's clock; returns whether the screen may have
    // changed.
    bool Tick(uint64_t nowMs);

    Phase GetPhase() const;
    Outcome GetOutcome() const { return outcome; }
    net::PeerEnd PeerEnd() const { return peer ? peer->End() : net::PeerEnd::None; }
    uint32_t EndTick() const { return peer ? peer->EndTick() : 0; }
    const net::MatchClient& Client() const { return connection->Client(); }
    bool Spectating() const { return Client().Spectating(); }
    // The side this page plays (meaningful once Playing).
    net::NetSide LocalSide() const;

    // The local player's inputs (ignored when watching).
    void MouseMove(int32_t x, int32_t y);
    void Aim(int32_t arenaX, int32_t arenaY);
    void LeftButton();
    void RightButton();
    void Key(GameKey key);
    void NewGame();

    void Resize(int32_t width, int32_t height);
    void Paint();

    // An end-of-game box to open now (once per end); false when none.
    bool TakeEndBox(std::string& caption, std::string& text);
    // The player closed it.
    void CloseEndBox();
    // The player leaves (the other learns it at once).
    void Leave();

    // The figures of the status line.
    net::PeerFigures Figures() const;
    uint32_t RollbacksPerSecond() const { return rollbackRate; }
    // The game's latest tick run and latest tick both sides' inputs are in.
    uint32_t CurrentTick() const { return Session() ? Session()->CurrentTick() : 0; }
    uint32_t ConfirmedTick() const { return Session() ? Session()->ConfirmedTick() : 0; }
    bool WaitingForOther() const;

    // The game shown (null before it starts).
    const Game* Shown() const;
    std::vector<Box> TakeScreenWrites();
    // The confirmed ticks so far as a replay file (empty before the start).
    std::string ReplayText() const;
    bool Begun() const { return begun; }

  private:
    void OnConfirmed(uint32_t tick, const net::Frame& frame) override;
    net::RollbackSession* Session();
    const net::RollbackSession* Session() const;
    void StartInRoom();
    bool PumpFeed();
    bool TickFeed();
    bool TickPeer(uint64_t nowMs);
    void Begin(net::RollbackSession& session);
    void UpdateRollbackRate(uint64_t nowMs);
    void Finish(Outcome why);

    std::unique_ptr<net::MatchConnection> connection;
    std::unique_ptr<net::NetPeer> peer;
    std::unique_ptr<FeedPlayer> watched;
    int32_t width;
    int32_t height;
    Outcome outcome = Outcome::Running;
    bool begun = false;
    bool endBoxOpen = false;
    bool endBoxTaken = true;
    bool feedOver = false;  // a spectator's feed ended ...
    bool feedLost = false;  // ... before it was complete
    net::RollbackSession::Step lastStep = net::RollbackSession::Step::Ran;
    net::InputList collected;
    net::NetReplayRecorder replay;
    uint64_t rateSince = 0;
    int64_t rolledBackSince = 0;
    uint32_t rollbackRate = 0;
};

}  // namespace qx::web
