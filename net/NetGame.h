#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "net/LinkSilence.h"
#include "net/NetPeer.h"
#include "net/NetReplayRecorder.h"
#include "replay/Replay.h"

namespace qx::net {

class MatchConnection;

struct NetGameOptions {
    PeerOptions peer;
    // Each tick's length; 0: as fast as the session can go (tests, soaks).
    uint32_t tickMs = 30;
    // Whether the end-of-game box closes at once (hosts with no player at
    // the keys); otherwise the host calls DismissEnd when its player closes it.
    bool dismissEndAtOnce = false;
    // Whether the match server's link brings something even while nobody
    // plays (ENet's pings; a WebSocket's pings are not seen): only then does
    // its silence tell a dead server from a silent other machine.
    bool serverKeepsAlive = true;
};

// What the host has to do after an Update, in order.
struct NetRequest {
    enum class Kind {
        Begin,       // the shared game starts: show Game() from now on
        Draw,        // the shared game's picture changed
        ShowEndBox,  // a confirmed tick ended a game: show its box (tick, caption, text)
        Ended,       // the network game is over: End() says why
    };
    Kind kind = Kind::Draw;
    uint32_t tick = 0;
    std::string caption;
    std::string text;
};

// What the host shows about the running game.
struct NetStatus {
    uint32_t pingMs = 0;
    uint32_t inputDelay = 0;
    double rollbacksPerSecond = 0;  // ticks run again, over the last half second or more
    uint64_t packetsLost = 0;
    bool waiting = false;  // the game stands still until the other machine's inputs come
};

// One machine's network game, the same for every host (the window, the
// page, the simulator, the test harness). The host hands it its clock in
// milliseconds, its player's inputs and, through the link it opened, the
// network; it runs the ticks when they are due, puts each local input on the
// wire in the call that takes it, records the confirmed ticks as a replay
// and keeps the figures. Everything the host must do comes back from Update
// as requests. Through a match server the server's own silence ends the
// game by the same rule as the other machine's (LinkSilence).
class NetGame : private ConfirmedListener {
  public:
    // `server`, when the game runs through a match server, is `link` itself.
    NetGame(Transport& link, const NetGameOptions& options,
            const MatchConnection* server = nullptr);
    ~NetGame() override;

    // The player's inputs of a given tick, for hosts that know them by
    // tick (a script, a test's player); asked once per tick, in order.
    using InputSource = std::function<InputList(uint32_t tick)>;

    // One of the player's inputs for the next tick that takes inputs (hosts
    // with a player at the keys).
    void AddInput(const GameInput& input);
    void SetInputSource(InputSource source) { inputSource = std::move(source); }

    // Reads the network, takes the collected inputs and runs the ticks due
    // at `nowMs`; the requests stay valid until the next call.
    const std::vector<NetRequest>& Update(uint64_t nowMs);
    // How long the host may sleep before the next Update (a packet that
    // arrives earlier should wake it).
    uint32_t IdleMs(uint64_t nowMs) const;

    // The local player closed the end-of-game box.
    void DismissEnd();
    // The local player ends the game (a goodbye goes to the other machine).
    void Leave();
    // Sends what is queued (the goodbye) and closes the link, waiting at most
    // `lingerMs`; not when the server went silent (nothing would take it).
    void Close(uint32_t lingerMs = 1000);

    bool Ended() const { return end != PeerEnd::None; }
    PeerEnd End() const { return end; }
    uint32_t EndTick() const { return endTick; }
    const std::string& EndDetail() const { return peer.EndDetail(); }
    bool Started() const { return peer.Started(); }
    bool Begun() const { return begun; }
    NetSide LocalSide() const { return peer.LocalSide(); }
    uint32_t AgreedTicks() const;
    // The game the host shows (null before Begin).
    Game* SharedGame();
    RollbackSession* Session() { return peer.Session(); }
    const RollbackSession* Session() const { return peer.Session(); }
    NetStatus Status() const { return status; }
    PeerFigures Figures() const { return peer.Figures(); }
    // The replay of the confirmed ticks so far (empty before Begin).
    Replay TakeReplay() const;
    // Also told every confirmed tick (the simulator's trace, the harness's
    // checksums).
    void SetConfirmedListener(ConfirmedListener* value) { extra = value; }

  private:
    void OnConfirmed(uint32_t tick, const Frame& frame) override;
    void Begin(uint64_t nowMs);
    void TakeInputs(uint64_t nowMs);
    void RunDueTicks(uint64_t nowMs);
    void CheckServer(uint64_t nowMs);
    void CheckEnd(uint64_t nowMs);
    void UpdateStatus(uint64_t nowMs);
    void Request(NetRequest::Kind kind, uint32_t tick = 0) {
        requests.push_back({kind, tick, {}, {}});
    }

    Transport& link;
    NetGameOptions options;
    const MatchConnection* server;
    NetPeer peer;
    NetReplayRecorder replay;
    ConfirmedListener* extra = nullptr;
    InputSource inputSource;
    bool endRequested = false;
    std::vector<NetRequest> requests;
    InputList collected;
    bool begun = false;
    uint64_t nextTickAt = 0;
    uint32_t shownEnd = 0;
    RollbackSession::Step lastStep = RollbackSession::Step::Ran;
    PeerEnd end = PeerEnd::None;
    uint32_t endTick = 0;
    LinkSilence serverSilence;
    NetStatus status;
    uint64_t statusAt = 0;
    int64_t statusRolledBack = 0;
};

}  // namespace qx::net
