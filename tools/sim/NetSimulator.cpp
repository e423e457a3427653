#include "tools/sim/NetSimulator.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <memory>

#include "common/ArenaToClient.h"
#include "net/NetGame.h"
#include "tools/sim/ConfirmedRecorder.h"
#include "tools/sim/NetLinks.h"
#include "tools/sim/RoomEntry.h"
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
// How long leaving waits for the other machine to take the goodbye.
constexpr uint32_t kLingerMs = 1000;

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

std::string EndMessage(const net::NetGame& game) {
    const std::string tick = std::to_string(game.EndTick());
    const std::string& detail = game.EndDetail();
    switch (game.End()) {
        case PeerEnd::Desync:
            return "the machines' games differ at tick " + tick +
                   (detail.empty() ? "" : ": " + detail);
        case PeerEnd::Unreachable:
            return "the other machine could not be reached";
        case PeerEnd::Full:
            return "the other machine already plays a network game with someone else";
        case PeerEnd::OtherVersion:
            return "the other machine runs another version of the game";
        case PeerEnd::Silent:
            return "the other machine went silent (tick " + tick +
                   (detail.empty() ? ")" : ": " + detail + ")");
        case PeerEnd::Garbled:
            return "the other machine sent only packets that make no sense (tick " + tick +
                   (detail.empty() ? ")" : ": " + detail + ")");
        case PeerEnd::Refused:
            return "the other machine refused this one's packets (tick " + tick + ")";
        case PeerEnd::Left:
            return "the other machine left the game (tick " + tick + ")";
        case PeerEnd::Quit:
            return "the game was ended here (tick " + tick + ")";
        case PeerEnd::ServerSilent:
            return "the server went silent (tick " + tick + ")";
        case PeerEnd::ServerLost:
            return "the connection to the server ended (tick " + tick + ")";
        case PeerEnd::Done:
        case PeerEnd::None:
            break;
    }
    return {};
}

std::string FormatFigures(const net::NetGame& game, double seconds) {
    const net::PeerFigures f = game.Figures();
    net::SessionStats stats;
    if (const net::RollbackSession* s = game.Session()) {
        stats = s->Stats();
    }
    const double secs = seconds > 0 ? seconds : 1;
    char line[400];
    std::snprintf(line, sizeof line,
                  "network: %s, ping %u ms, input delay %u, rollbacks %lld (%.1f/s, %lld ticks, "
                  "largest %d), packets sent %llu, lost %llu, refused %llu, bytes sent %llu "
                  "(%.0f/s), received %llu (%.0f/s)",
                  SideName(game.LocalSide()), f.pingMs, f.inputDelay,
                  static_cast<long long>(stats.rollbacks), stats.rollbacks / secs,
                  static_cast<long long>(stats.rolledBackTicks), stats.largestRollback,
                  static_cast<unsigned long long>(f.packetsSent),
                  static_cast<unsigned long long>(f.packetsLost),
                  static_cast<unsigned long long>(f.badPackets),
                  static_cast<unsigned long long>(f.bytesSent), f.bytesSent / secs,
                  static_cast<unsigned long long>(f.bytesReceived), f.bytesReceived / secs);
    return line;
}

// What a run through a match server changes from what was asked.
void NoteServerChanges(const SimOptions& options, const net::NetGame& game, bool hosting,
                       std::vector<std::string>& notes) {
    if (!options.net.viaServer || !game.Started()) return;
    const bool created = options.net.action == ServerAction::Create;
    if (!created && !options.net.side.empty() && options.net.side != SideName(game.LocalSide())) {
        notes.push_back(std::string("the room chose the sides: this machine plays the ") +
                        SideName(game.LocalSide()));
    }
    if (options.net.seedGiven && !created) {
        notes.push_back(hosting ? "the server draws a quick match's seed; --seed was not used"
                                : "the room's creator draws the seed; --seed was not used");
    }
}

void NoteChanges(const SimOptions& options, const net::NetGame& game, bool hosting,
                 const ScriptFeeder& feeder, std::vector<std::string>& notes) {
    if (!game.Started()) return;
    if (options.net.joining && !options.net.side.empty() &&
        options.net.side != SideName(game.LocalSide())) {
        notes.push_back(std::string("the host chose the sides: this machine plays the ") +
                        SideName(game.LocalSide()));
    }
    if (options.net.joining && options.net.seedGiven) {
        notes.push_back("the host draws the seed; --seed was not used");
    }
    NoteServerChanges(options, game, hosting, notes);
    const int64_t agreed = game.AgreedTicks();
    if (agreed != options.ticks) {
        notes.push_back("playing " + std::to_string(agreed) +
                        " ticks as agreed with the other machine");
    }
    const int64_t dropped = game.Session()->Stats().droppedLocalInputs + feeder.Overflow();
    if (dropped > 0) {
        notes.push_back(std::to_string(dropped) +
                        " scripted inputs were not this side's or too many for one "
                        "tick and were left out");
    }
}

// One machine's game over `transport`: directly with the other machine, or
// through a match server (`server`, whose silence then also ends it). A stop
// signal ends it as the player's leaving would.
NetSimResult PlayGame(const SimOptions& options, const std::vector<InputEvent>& events,
                      net::Transport& transport, const net::PeerOptions& peerOptions,
                      net::MatchConnection* server, std::ostream* trace, Replay* record,
                      std::ostream* log = nullptr) {
    NetSimResult result;
    net::NetGameOptions gameOptions;
    gameOptions.peer = peerOptions;
    gameOptions.tickMs = options.net.realtime ? kTickMs : 0;
    gameOptions.dismissEndAtOnce = true;
    gameOptions.serverKeepsAlive = ServerLinkKeepsAlive();
    net::NetGame game(transport, gameOptions, server);
    ConfirmedRecorder recorder(result.summary, trace);
    ScriptFeeder feeder(events);
    game.SetConfirmedListener(&recorder);
    game.SetInputSource([&](uint32_t tick) { return feeder.InputsFor(tick, *game.SharedGame()); });
    const auto start = std::chrono::steady_clock::now();
    auto clock = [&] {
        return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - start)
                                         .count());
    };
    uint32_t closingTold = 0;
    while (!game.Ended()) {
        if (StopSignalled()) {
            game.Leave();
            break;
        }
        if (server) TellClosing(server->Client(), closingTold, log);
        bool ran = false;
        for (const net::NetRequest& r : game.Update(clock())) {
            if (r.kind == net::NetRequest::Kind::Begin) {
                Game& shown = *game.SharedGame();
                shown.SetClientSize(options.clientWidth, options.clientHeight);
                shown.ShowState();
                recorder.Begin(game.Session()->Options().seed, game.Session()->FrameOf(0));
            }
            ran = ran || r.kind == net::NetRequest::Kind::Draw;
        }
        if (game.Ended()) break;
        if (!game.Begun()) {
            transport.Wait(5);
        } else if (options.net.realtime) {
            if (const uint32_t idle = game.IdleMs(clock())) transport.Wait(idle);
        } else if (!ran) {
            transport.Wait(1);
        }
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    game.Close(kLingerMs);

    SimSummary& summary = result.summary;
    summary.ticksPerSecond = elapsed.count() > 0 ? summary.ticks / elapsed.count() : 0;
    result.end = game.End();
    result.message = EndMessage(game);
    summary.desync = game.End() == PeerEnd::Desync;
    result.figures = FormatFigures(game, elapsed.count());
    // A replay only of a game this machine began (and recorded the start
    // of): a difference or a goodbye before that leaves nothing to play.
    result.started = game.Begun();
    if (record && result.started) *record = recorder.Finish();
    NoteChanges(options, game, peerOptions.hosting, feeder, result.notes);
    return result;
}

// The line naming the game's players as the server sent them: each name
// quoted, quotes and backslashes escaped ("" for an anonymous player).
std::string NamesLine(const std::array<std::string, 2>& names) {
    std::string line = "names";
    const char* sides[] = {"emperor", "rebel"};
    for (size_t s = 0; s < 2; ++s) {
        line += std::string(" ") + sides[s] + " \"";
        for (char c : names[s]) {
            if (c == '"' || c == '\\') line += '\\';
            line += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
        }
        line += '"';
    }
    return line;
}

// A player through the match server, in its room: the room decides the
// sides, the seed and the length.
NetSimResult PlayInRoom(const SimOptions& options, const std::vector<InputEvent>& events,
                        net::MatchConnection& link, net::PeerOptions po, std::ostream* trace,
                        Replay* record, std::ostream* log) {
    po.syncTestTicks = options.syncTestTicks;
    po.hostWaitMs = kRoomWaitMs;
    return PlayGame(options, events, link, po, &link, trace, record, log);
}

// A player or spectator through the match server; the players' names, when
// the server sent them, on a line of the log.
NetSimResult RunThroughServer(const SimOptions& options, const std::vector<InputEvent>& events,
                              std::ostream* trace, Replay* record, std::ostream* log) {
    RoomEntry entry = EnterRoom(options, log);
    if (!entry.room) {
        NetSimResult result;
        result.end = PeerEnd::Unreachable;
        result.message = entry.message;
        result.roomRefused = entry.roomRefused;
        result.badArgument = entry.badArgument;
        return result;
    }
    const net::PeerOptions po = entry.room->GameOptions().peer;
    const std::unique_ptr<net::MatchConnection> link = entry.room->TakeConnection();
    NetSimResult result = link->Client().Spectating()
                              ? WatchGame(options, *link, trace, record, log)
                              : PlayInRoom(options, events, *link, po, trace, record, log);
    if (log && link->Client().HasNames()) *log << NamesLine(link->Client().Names()) << std::endl;
    return result;
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
    CatchStopSignals();
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
