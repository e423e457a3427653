#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "net/LinkStats.h"
#include "net/Pacing.h"
#include "net/Packet.h"
#include "net/RollbackSession.h"
#include "net/Transport.h"

namespace qx::net {

struct PeerOptions {
    bool hosting = true;
    NetSide side = NetSide::Emperor;  // the host's side; a joiner gets the other one
    uint32_t seed = 0;                // drawn by the host
    uint32_t ticks = 0;               // how many ticks to play; 0: no limit
    int32_t syncTestTicks = 0;
    // The other machine's silence that ends the game: no valid packet for
    // this long, or none that moves on what this machine waits for.
    uint32_t silenceMs = 5000;
    uint32_t connectMs = 5000;  // how long a joiner tries to reach the host
    uint32_t hostWaitMs = 0;    // how long a host waits for a joiner; 0: until it leaves
    uint32_t resendMs = 30;     // the longest time between two input packets
    // How often a joiner says hello again until the start comes (0: once).
    // Directly the datagrams may be lost; through a match server, whose link
    // carries the hello reliably and which takes it only once, it goes once.
    uint32_t helloEveryMs = 500;
};

// Why a network game ended.
enum class PeerEnd {
    None,
    Done,          // both played the agreed ticks
    Desync,        // the machines' states differ (or the sync test failed)
    Unreachable,   // nobody answered (or joined) in time
    Full,          // the host already plays with another machine
    OtherVersion,  // the other machine runs another version of the game
    Silent,        // the other machine sent nothing valid (or nothing new) for silenceMs
    Garbled,       // the other machine sent only packets that make no sense for silenceMs
    Refused,       // the other machine found this one's packets make no sense
    Left,          // the other machine closed the game
    Quit,          // the local player ended it
    // Through a match server (told by NetGame, never by the peer itself):
    ServerSilent,  // nothing at all came from the server for the silence limit
    ServerLost,    // the connection to the server ended
};

// The network figures of a running game, as rollback libraries show them.
struct PeerFigures {
    uint32_t pingMs = 0;
    uint32_t inputDelay = 0;
    uint64_t packetsSent = 0;
    uint64_t packetsLost = 0;  // the other machine's input packets that never came
    uint64_t badPackets = 0;   // refused as malformed or impossible
    uint64_t bytesSent = 0;
    uint64_t bytesReceived = 0;
};

// One machine's side of a network game: the handshake (the joiner says
// hello until the host answers with the seed, its side and the game's
// length), then every tick a packet with this side's unacknowledged
// inputs, the acknowledgement of the other's, and the checksum of the
// latest confirmed tick, which the other machine compares with its own.
// Everything received is checked before anything of it is used; a bad
// packet is dropped whole and counted. Whether the other machine is still
// there is judged by its packets alone: the game ends when none valid came
// for silenceMs, or when this machine has waited that long for inputs or
// acknowledgements that its packets never bring. It also ends when the
// agreed ticks are done and both have all inputs, on a checksum mismatch,
// when the other machine leaves, or when the local player leaves.
class NetPeer {
  public:
    NetPeer(Transport& transport, const PeerOptions& options);
    ~NetPeer();

    // Reads everything that has arrived, acts on it and on the clock
    // (`nowMs`, any monotonic milliseconds), and sends this side's packet
    // when one is due.
    void Pump(uint64_t nowMs);

    // The session, once the handshake is done (null before).
    RollbackSession* Session() { return session.get(); }
    const RollbackSession* Session() const { return session.get(); }
    bool Started() const { return session != nullptr; }
    bool Ended() const { return end != PeerEnd::None; }
    PeerEnd End() const { return end; }
    // The tick the end names: the desync's tick, the last tick played.
    uint32_t EndTick() const { return endTick; }
    const std::string& EndDetail() const { return endDetail; }
    NetSide LocalSide() const { return options.side; }

    // Whether the session takes local inputs for its next tick now (the
    // input delay: inputs made at tick t are for tick t + 1 + delay).
    bool WantsLocalInput() const;
    // Takes the local player's inputs for the session's next local tick and
    // puts them on the wire at once (an input that waited for the next Pump
    // would reach the other machine up to a wake-up late, which the input
    // delay does not count). False when the session does not take them.
    bool AddLocalInput(const InputList& inputs, uint64_t nowMs);
    // Runs the session one step; returns what happened.
    RollbackSession::Step Advance(uint64_t nowMs);
    // Whether a realtime host should skip this tick because this machine is
    // ahead of the other one (so both keep the same pace).
    bool ShouldWaitForOther();
    // Whether the game stands still until the other machine's inputs or
    // acknowledgements come.
    bool WaitingForOther() const;
    // Ends the game from this side (the player closed it).
    void Leave();
    // Sends what is still queued and closes the connection.
    void Close();

    PeerFigures Figures() const;

  private:
    void OnLinkEvent(LinkEvent event, const std::vector<uint8_t>& data);
    void OnDisconnected(LinkClose reason);
    void Receive(const std::vector<uint8_t>& bytes);
    bool OnHello(const HelloPacket& hello);
    bool OnStart(const StartPacket& start);
    bool OnInputs(const InputPacket& packet);
    void OnBye(const ByePacket& bye);
    void StartSession(uint32_t seed, NetSide localSide, uint32_t ticks);
    void CheckSilence();
    void SendHelloAgain();
    void SendInputs();
    bool FreshInputs() const;
    bool LocalQueueFull() const;
    void CheckRemoteChecksum();
    void CheckFinished();
    bool PlayedAllTicks() const;
    uint32_t TickNow() const;
    void Finish(PeerEnd why, uint32_t tick, const std::string& detail);
    void SendBye(ByeReason reason, uint32_t tick);

    Transport& transport;
    PeerOptions options;
    std::unique_ptr<RollbackSession> session;
    PeerEnd end = PeerEnd::None;
    uint32_t endTick = 0;
    std::string endDetail;

    uint64_t now = 0;
    uint64_t startedAt = 0;
    bool clockStarted = false;
    bool connected = false;
    bool everConnected = false;
    uint64_t connectedAt = 0;
    uint64_t lastHeard = 0;     // the other machine's last valid packet
    uint64_t lastProgress = 0;  // ... that brought what this one waits for
    uint64_t badSinceHeard = 0;
    uint64_t lastSent = 0;
    uint64_t lastHello = 0;
    uint64_t lastStartAgain = 0;
    uint32_t lastSentLocalTick = 0;
    bool remoteDone = false;
    bool byeSent = false;
    bool ackDue = false;  // new inputs of the other machine came: acknowledge at once
    RollbackSession::Step lastStep = RollbackSession::Step::Ran;

    uint32_t remoteAck = 0;         // the other machine holds our inputs up to here
    uint32_t remoteDismissed = 0;   // the last end whose box the other player closed
    uint32_t pendingCheckTick = 0;  // the other machine's confirmed tick to compare
    uint64_t pendingChecksum = 0;
    bool pendingCheck = false;

    LinkStats link;
    Pacing pacing;
    uint32_t sequence = 0;
    uint64_t badPackets = 0;
};

}  // namespace qx::net
