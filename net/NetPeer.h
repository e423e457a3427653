#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

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
    uint32_t silenceMs = 5000;  // the other machine's silence that ends the game
    uint32_t connectMs = 5000;  // how long a joiner tries to reach the host
    uint32_t hostWaitMs = 0;    // how long a host waits for a joiner; 0: until it leaves
    uint32_t resendMs = 30;     // the longest time between two input packets
};

// Why a network game ended.
enum class PeerEnd {
    None,
    Done,         // both played the agreed ticks
    Desync,       // the machines' states differ (or the sync test failed)
    Unreachable,  // nobody answered (or joined) in time
    Silent,       // the other machine sent nothing valid for silenceMs
    Left,         // the other machine disconnected or closed the game
    Quit,         // the local player ended it
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
// hello, the host answers with the seed, its side and the game's length),
// then every tick a packet with this side's unacknowledged inputs, the
// acknowledgement of the other's, and the checksum of the latest confirmed
// tick, which the other machine compares with its own. Everything received
// is checked before anything of it is used; a bad packet is dropped whole
// and counted. The game ends when the agreed ticks are done and both have
// all inputs, on a checksum mismatch, when the other machine leaves or goes
// silent, or when the local player leaves.
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
    // Runs the session one step; returns what happened.
    RollbackSession::Step Advance(uint64_t nowMs);
    // Whether a realtime host should skip this tick because this machine is
    // ahead of the other one (so both keep the same pace).
    bool ShouldWaitForOther();
    // Ends the game from this side (the player closed it).
    void Leave();
    // Sends what is still queued and closes the connection.
    void Close();

    PeerFigures Figures() const;

  private:
    void Receive(const std::vector<uint8_t>& bytes, uint64_t nowMs);
    void OnHello(const HelloPacket& hello);
    void OnStart(const StartPacket& start);
    bool OnInputs(const InputPacket& packet, uint64_t nowMs);
    void OnBye(const ByePacket& bye);
    void CountSequence(uint32_t sequence);
    void StartSession(uint32_t seed, NetSide localSide, uint32_t ticks);
    void SendInputs(uint64_t nowMs);
    void CheckRemoteChecksum();
    void CheckFinished();
    bool PlayedAllTicks() const;
    void UpdateDelay();
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
    uint64_t lastHeard = 0;
    uint64_t lastSent = 0;
    uint32_t lastSentLocalTick = 0;
    bool remoteDone = false;
    bool byeSent = false;

    uint32_t remoteAck = 0;  // the other machine holds our inputs up to here
    uint32_t remoteCurrent = 0;
    int8_t remoteAdvantage = 0;     // what the other machine thinks of its lead
    uint32_t pendingCheckTick = 0;  // the other machine's confirmed tick to compare
    uint64_t pendingChecksum = 0;
    bool pendingCheck = false;

    // When each local tick's inputs were first sent, for the round trip.
    std::array<uint64_t, 64> firstSentAt{};
    double rttMs = 0;
    bool rttKnown = false;
    uint32_t delay = 0;
    uint32_t wantedDelay = 0;
    uint32_t delayVotes = 0;
    uint64_t lastDelayCheck = 0;
    uint32_t lastWaitTick = 0;

    uint32_t sequence = 0;
    bool anyRemoteSequence = false;
    uint32_t firstRemoteSequence = 0;
    uint32_t highestRemoteSequence = 0;
    uint64_t seenWindow = 0;
    uint64_t remotePackets = 0;
    uint64_t badPackets = 0;
};

}  // namespace qx::net
