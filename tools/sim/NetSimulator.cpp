#include "tools/sim/NetSimulator.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

#include "common/ArenaToClient.h"
#include "tools/sim/ConfirmedRecorder.h"
#include "tools/sim/NetLinks.h"
#include "tools/sim/RoomEntry.h"
#include "tools/sim/ServerSilence.h"
#include "tools/sim/VirtualKeys.h"
#include "tools/sim/WatchGame.h"

namespace qx::sim {
namespace {

using net::NetSide;
using net::PeerEnd;

constexpr uint64_t kTickMs = 30;
// A host waits this long for the other machine to join: on a LAN the other
// is started at once; through a server a friend first gets the code.
constexpr uint32_t kHostWaitMs = 15000;
constexpr uint32_t kRoomWaitMs = 60000;

// Turns this side's scripted events into the inputs of the ticks they name.
class ScriptFeeder {
  public:
    ScriptFeeder(const std::vector<InputEvent>& events) : events(events) {}

    net::InputList InputsFor(uint32_t tick, Game& game) {
        net::InputList list;
        for (; next < events.size() && events[next].tick <= tick; ++next) {
            if (events[next].tick == tick) Add(events[next], game, list);
        }
        return list;
    }

    int64_t Overflow() const { return overflow; }

  private:
    void Add(const InputEvent& e, Game& game, net::InputList& list) {
        bool added = true;
        switch (e.kind) {
            case EventKind::Mouse:
                if (const auto target = ClientToArena(e.a, e.b, game.ClientRect())) {
                    added = list.AddTarget(target->x, target->y);
                }
                break;
            case EventKind::LButton:
                added = list.Add(GameInput::Fire(Weapon::Forward));
                break;
            case EventKind::RButton:
            case EventKind::MButton:
                added = list.Add(GameInput::Fire(Weapon::Down));
                break;
            case EventKind::Key:
                if (GameKeyForVirtualKey(e.a) != GameKey::None) {
                    added = list.Add(GameInput::Key(GameKeyForVirtualKey(e.a)));
                }
                break;
            case EventKind::Resize:
                game.SetClientSize(e.a, e.b);
                game.ShowState();
                break;
            case EventKind::Paint:
                game.ShowState();
                break;
            case EventKind::NewGame:
                added = list.Add(GameInput::NewGame(PlayerChoice{true, true}));
                break;
            case EventKind::Dialog:
                break;  // a network game's dialogs are agreed by both machines
        }
        if (!added) ++overflow;
    }

    const std::vector<InputEvent>& events;
    size_t next = 0;
    int64_t overflow = 0;
};

const char* SideName(NetSide side) {
    return side == NetSide::Emperor ? "emperor" : "rebel";
}

net::PeerOptions PeerOptionsFor(const SimOptions& options) {
    net::PeerOptions po;
    po.hosting = options.net.hosting;
    po.side = options.net.side == "rebel" ? NetSide::Rebel : NetSide::Emperor;
    po.seed = options.seed;
    po.ticks = static_cast<uint32_t>(options.ticks);
    po.syncTestTicks = options.syncTestTicks;
    po.hostWaitMs = kHostWaitMs;
    return po;
}

std::string EndMessage(const net::NetPeer& peer) {
    const std::string tick = std::to_string(peer.EndTick());
    switch (peer.End()) {
        case PeerEnd::Desync:
            return "the machines' games differ at tick " + tick +
                   (peer.EndDetail().empty() ? "" : ": " + peer.EndDetail());
        case PeerEnd::Unreachable:
            return "the other machine could not be reached";
        case PeerEnd::Full:
            return "the other machine already plays a network game with someone else";
        case PeerEnd::OtherVersion:
            return "the other machine runs another version of the game";
        case PeerEnd::Silent:
            return "the other machine went silent (tick " + tick +
                   (peer.EndDetail().empty() ? ")" : ": " + peer.EndDetail() + ")");
        case PeerEnd::Garbled:
            return "the other machine sent only packets that make no sense (tick " + tick +
                   (peer.EndDetail().empty() ? ")" : ": " + peer.EndDetail() + ")");
        case PeerEnd::Refused:
            return "the other machine refused this one's packets (tick " + tick + ")";
        case PeerEnd::Left:
            return "the other machine left the game (tick " + tick + ")";
        case PeerEnd::Quit:
            return "the game was ended here (tick " + tick + ")";
        case PeerEnd::Done:
        case PeerEnd::None:
            break;
    }
    return {};
}

std::string FormatFigures(const net::NetPeer& peer, NetSide side, double seconds) {
    const net::PeerFigures f = peer.Figures();
    net::SessionStats stats;
    if (const net::RollbackSession* s = peer.Session()) {
        stats = s->Stats();
    }
    const double secs = seconds > 0 ? seconds : 1;
    char line[400];
    std::snprintf(line, sizeof line,
                  "network: %s, ping %u ms, input delay %u, rollbacks %lld (%.1f/s, %lld ticks, "
                  "largest %d), packets sent %llu, lost %llu, refused %llu, bytes sent %llu "
                  "(%.0f/s), received %llu (%.0f/s)",
                  SideName(side), f.pingMs, f.inputDelay, static_cast<long long>(stats.rollbacks),
                  stats.rollbacks / secs, static_cast<long long>(stats.rolledBackTicks),
                  stats.largestRollback, static_cast<unsigned long long>(f.packetsSent),
                  static_cast<unsigned long long>(f.packetsLost),
                  static_cast<unsigned long long>(f.badPackets),
                  static_cast<unsigned long long>(f.bytesSent), f.bytesSent / secs,
                  static_cast<unsigned long long>(f.bytesReceived), f.bytesReceived / secs);
    return line;
}

// What a run through a match server changes from what was asked.
void NoteServerChanges(const SimOptions& options, const net::NetPeer& peer, bool hosting,
                       std::vector<std::string>& notes) {
    if (!options.net.viaServer || !peer.Started()) return;
    const bool created = options.net.action == ServerAction::Create;
    if (!created && !options.net.side.empty() && options.net.side != SideName(peer.LocalSide())) {
        notes.push_back(std::string("the room chose the sides: this machine plays the ") +
                        SideName(peer.LocalSide()));
    }
    if (options.net.seedGiven && !created) {
        notes.push_back(hosting ? "the server draws a quick match's seed; --seed was not used"
                                : "the room's creator draws the seed; --seed was not used");
    }
}

void NoteChanges(const SimOptions& options, const net::NetPeer& peer, bool hosting,
                 const ScriptFeeder& feeder, std::vector<std::string>& notes) {
    if (!peer.Started()) return;
    if (options.net.joining && !options.net.side.empty() &&
        options.net.side != SideName(peer.LocalSide())) {
        notes.push_back(std::string("the host chose the sides: this machine plays the ") +
                        SideName(peer.LocalSide()));
    }
    if (options.net.joining && options.net.seedGiven) {
        notes.push_back("the host draws the seed; --seed was not used");
    }
    NoteServerChanges(options, peer, hosting, notes);
    const int64_t agreed = peer.Session()->Options().lastTick;
    if (agreed != options.ticks) {
        notes.push_back("playing " + std::to_string(agreed) +
                        " ticks as agreed with the other machine");
    }
    const int64_t dropped = peer.Session()->Stats().droppedLocalInputs + feeder.Overflow();
    if (dropped > 0) {
        notes.push_back(std::to_string(dropped) +
                        " scripted inputs were not this side's or too many for one "
                        "tick and were left out");
    }
}

// One machine's game over `transport`: directly with the other machine, or
// through a match server (`server`, whose silence then also ends it).
NetSimResult PlayGame(const SimOptions& options, const std::vector<InputEvent>& events,
                      net::Transport& transport, const net::PeerOptions& peerOptions,
                      net::MatchConnection* server, std::ostream* trace, Replay* record) {
    NetSimResult result;
    net::NetPeer peer(transport, peerOptions);
    ConfirmedRecorder recorder(result.summary, trace);
    ScriptFeeder feeder(events);
    std::optional<ServerSilence> silence;
    if (server && ServerLinkKeepsAlive()) silence.emplace(*server);
    const auto start = std::chrono::steady_clock::now();
    auto clock = [&] {
        return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - start)
                                         .count());
    };
    bool begun = false;
    bool serverSilent = false;
    uint64_t nextTickAt = 0;
    while (!peer.Ended()) {
        peer.Pump(clock());
        net::RollbackSession* session = peer.Session();
        if (peer.Ended()) break;
        if (silence && silence->Silent(clock())) {
            serverSilent = true;
            break;
        }
        if (!session) {
            transport.Wait(5);
            continue;
        }
        if (!begun) {
            begun = true;
            session->SetListener(&recorder);
            session->GetGame().SetClientSize(options.clientWidth, options.clientHeight);
            session->GetGame().ShowState();
            recorder.Begin(session->Options().seed, session->FrameOf(0));
            nextTickAt = clock();
        }
        if (session->OpenEnd()) session->DismissEnd();
        while (peer.WantsLocalInput()) {
            const uint32_t tick = session->NextLocalTick();
            if (!session->AddLocalInput(feeder.InputsFor(tick, session->GetGame()))) break;
        }
        if (options.net.realtime) {
            const uint64_t now = clock();
            if (now < nextTickAt) {
                transport.Wait(static_cast<uint32_t>(std::min<uint64_t>(nextTickAt - now, 5)));
                continue;
            }
            nextTickAt += kTickMs;
            if (peer.ShouldWaitForOther()) continue;
        }
        if (peer.Advance(clock()) != net::RollbackSession::Step::Ran && !options.net.realtime) {
            transport.Wait(1);
        }
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    // A server that went silent takes no goodbye: waiting for one only
    // delays the message.
    if (!serverSilent) peer.Close();

    SimSummary& summary = result.summary;
    summary.ticksPerSecond = elapsed.count() > 0 ? summary.ticks / elapsed.count() : 0;
    result.end = serverSilent ? PeerEnd::Silent : peer.End();
    result.message = EndMessage(peer);
    if (serverSilent) {
        result.message = "the server went silent (tick " + std::to_string(summary.ticks) + ")";
    } else if (server && server->Client().GetState() == net::MatchClient::State::Failed &&
               peer.End() != PeerEnd::Done) {
        result.message =
            "the connection to the server ended (tick " + std::to_string(summary.ticks) + ")";
    }
    summary.desync = peer.End() == PeerEnd::Desync;
    result.figures = FormatFigures(peer, peer.LocalSide(), elapsed.count());
    // A replay only of a game this machine began (and recorded the start
    // of): a difference or a goodbye before that leaves nothing to play.
    result.started = begun;
    if (record && result.started) *record = recorder.Finish();
    NoteChanges(options, peer, peerOptions.hosting, feeder, result.notes);
    return result;
}

// A player or spectator through the match server.
NetSimResult RunThroughServer(const SimOptions& options, const std::vector<InputEvent>& events,
                              std::ostream* trace, Replay* record, std::ostream* log) {
    RoomEntry entry = EnterRoom(options, log);
    if (!entry.connection) {
        NetSimResult result;
        result.end = PeerEnd::Unreachable;
        result.message = entry.message;
        result.roomRefused = entry.roomRefused;
        result.badArgument = entry.badArgument;
        return result;
    }
    net::MatchConnection& link = *entry.connection;
    if (link.Client().Spectating()) return WatchGame(options, link, trace, record);
    const net::MatchMessage& answer = link.Client().Answer();
    net::PeerOptions po = PeerOptionsFor(options);
    po.hosting = link.Client().Hosting();
    po.side = answer.side;
    po.seed = answer.seed;
    po.ticks = answer.ticks;
    po.hostWaitMs = kRoomWaitMs;
    return PlayGame(options, events, link, po, &link, trace, record);
}

}  // namespace

int NetExitStatus(PeerEnd end) {
    switch (end) {
        case PeerEnd::Done:
            return 0;
        case PeerEnd::Desync:
            return 1;
        default:
            return 3;
    }
}

int NetExitStatus(const NetSimResult& result) {
    if (result.badArgument) return 2;
    if (result.roomRefused) return 4;
    return NetExitStatus(result.end);
}

NetSimResult RunNetworkGame(const SimOptions& options, const std::vector<InputEvent>& events,
                            std::ostream* trace, Replay* record, std::ostream* log) {
    if (options.net.viaServer) return RunThroughServer(options, events, trace, record, log);
    std::string error;
    const auto transport = OpenDirectLink(options.net, error);
    if (!transport) {
        NetSimResult result;
        result.end = PeerEnd::Unreachable;
        result.message = error;
        return result;
    }
    return PlayGame(options, events, *transport, PeerOptionsFor(options), nullptr, trace, record);
}

}  // namespace qx::sim
