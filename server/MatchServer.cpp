#include "server/MatchServer.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <vector>

#include "net/PacketCodec.h"
#include "net/SideInputs.h"

namespace qx::server {
namespace {

using net::MatchError;
using net::MatchMessage;
using net::MatchType;
using net::NetSide;

constexpr uint64_t kTimeoutCheckMs = 250;
constexpr uint64_t kSweepMs = 10'000;
constexpr int kFeedFramesPerTick = 8;

const char* SideName(NetSide side) {
    return side == NetSide::Emperor ? "emperor" : "rebel";
}

MatchMessage Message(MatchType type) {
    MatchMessage m;
    m.type = type;
    return m;
}

std::string Who(const Connection& c) {
    return std::string(TransportName(c.Kind())) + ' ' + c.Address();
}

}  // namespace

MatchServer::MatchServer(const ServerLimits& l, Metrics& m, SecureRandom& r, std::ostream& out)
    : limits(l), metrics(m), random(r), log(out), addresses(l), repeated(out) {
    lobby.SetRatings([this](const PlayerIdentity& who) { return ratings.Of(who); });
}

MatchServer::~MatchServer() = default;

bool MatchServer::AdmitAddress(const std::string& address) {
    if (addresses.Admit(address, pending ? pending(address) : 0)) return true;
    repeated.Note("connections refused (too many from the address)", address,
                  "refused a connection from " + address + ": too many from the address", now);
    return false;
}

const Room* MatchServer::FindRoom(const std::string& code) const {
    auto it = rooms.find(code);
    return it == rooms.end() ? nullptr : it->second.get();
}

void MatchServer::OnOpen(Connection& c, uint64_t nowMs) {
    if (!connections.insert(&c).second) return;
    c.openedAt = c.lastHeard = nowMs;
    ++metrics.connections[Metrics::At(c.Kind())];
}

void MatchServer::OnClosed(Connection& c, uint64_t nowMs) {
    if (connections.erase(&c) == 0) return;
    now = nowMs;
    --metrics.connections[Metrics::At(c.Kind())];
    LeaveRoom(c);
    SetRole(c, Role::Closing);
    identities.erase(&c);
    lobby.Forget(c);
}

void MatchServer::OnFrame(Connection& c, const uint8_t* data, size_t size, uint64_t nowMs) {
    if (c.role == Role::Closing) return;
    now = nowMs;
    const size_t kind = Metrics::At(c.Kind());
    ++metrics.framesReceived[kind];
    if (!c.frames.Take(nowMs) || !c.bytes.Take(nowMs, static_cast<double>(size))) {
        ++metrics.rateLimited[kind];
        return;
    }
    switch (c.role) {
        case Role::Lobby:
            OnRequest(c, data, size, nowMs);
            break;
        case Role::Player:
            OnPlayerFrame(c, data, size, nowMs);
            break;
        case Role::Spectator:
            // Spectators only listen.
            Bad(c);
            break;
        case Role::Closing:
            break;
    }
}

void MatchServer::OnRequest(Connection& c, const uint8_t* data, size_t size, uint64_t nowMs) {
    MatchMessage request;
    const char* error = nullptr;
    const bool identify = size == net::kIdentifySize && !identities.count(&c);
    if ((size != net::kRequestSize && !identify) || !net::DecodeMatch(data, size, request, error) ||
        (request.type > MatchType::Identify && request.type != MatchType::WatchLobby) ||
        (request.type == MatchType::Identify) != identify) {
        // Something that looks like a request gets a short answer; anything
        // else gets none (never more bytes back than came in).
        if (net::IsMatchFrame(data, size) && size >= 5) Refuse(c, MatchError::BadRequest);
        Bad(c);
        return;
    }
    if (IdentityOf(c).refused) {
        Bad(c);
        return;
    }
    c.lastHeard = nowMs;
    // A lobby watcher that asks for a room stops getting the lobby.
    if (request.type != MatchType::Identify) lobby.Forget(c);
    switch (request.type) {
        case MatchType::Create:
            Create(c, request, false, nowMs);
            break;
        case MatchType::Quick: {
            // The pairing waits (a second at most) for the player's rating.
            const std::string key = IdentityOf(c).keyHash;
            ratings.WhenKnown(IdentityOf(c), nowMs, [this, &c, request, key] {
                if (connections.count(&c) && c.role == Role::Lobby && IdentityOf(c).keyHash == key)
                    Quick(c, request, now);
            });
            break;
        }
        case MatchType::Join:
            if (Room* room = LookUp(c, request.code, nowMs)) Join(c, *room, nowMs);
            break;
        case MatchType::Watch:
            if (Room* room = LookUp(c, request.code, nowMs)) Watch(c, *room);
            break;
        case MatchType::Identify:
            Identify(c, request);
            break;
        case MatchType::WatchLobby:
            if (!lobby.Watch(c, nowMs)) Refuse(c, MatchError::ServerFull);
            break;
        default:
            break;
    }
}

void MatchServer::Create(Connection& c, const MatchMessage& request, bool quick, uint64_t nowMs) {
    if (rooms.size() >= limits.maxRooms) {
        Refuse(c, MatchError::ServerFull);
        return;
    }
    if (!addresses.TakeRoom(c.Address(), nowMs)) {
        Refuse(c, MatchError::Throttled);
        return;
    }
    const std::string code = NewCode();
    const uint32_t seed = request.hasSeed ? request.seed : static_cast<uint32_t>(random.Bits(32));
    auto room = std::make_unique<Room>(code, seed, request.side, request.ticks, quick, nowMs);
    room->SetPlayer(request.side, &c);
    room->identity[Room::Index(request.side)] = IdentityOf(c);
    room->ratedAsked = IdentityOf(c).rated;
    c.room = room.get();
    c.side = request.side;
    SetRole(c, Role::Player);
    Room& created = *room;
    rooms.emplace(code, std::move(room));
    if (quick || request.listed) lobby.Add(created);
    ++metrics.rooms;
    ++metrics.roomsCreated;
    MatchMessage answer;
    answer.type = MatchType::Created;
    answer.code = code;
    answer.side = request.side;
    answer.seed = seed;
    answer.ticks = request.ticks;
    Answer(c, answer);
    LogRoom(created, std::string(quick ? "created for quick match" : "created") + ", " +
                         SideName(request.side) + " by " + Who(c));
}

void MatchServer::Quick(Connection& c, const MatchMessage& request, uint64_t nowMs) {
    const double rating = lobby.Rating(IdentityOf(c));
    for (std::string code; !(code = quickQueue.Pick(rating, nowMs)).empty();) {
        quickQueue.Remove(code);
        auto it = rooms.find(code);
        NetSide side;
        if (it != rooms.end() && it->second->FreeSide(side)) {
            Join(c, *it->second, nowMs);
            return;
        }
    }
    MatchMessage create = request;
    create.side = NetSide::Emperor;
    create.hasSeed = false;
    Create(c, create, true, nowMs);
    if (c.room) quickQueue.Add(c.room->Code(), rating, nowMs);
}

void MatchServer::Join(Connection& c, Room& room, uint64_t nowMs) {
    NetSide side;
    if (!room.FreeSide(side)) {
        Refuse(c, MatchError::RoomFull);
        return;
    }
    room.SetPlayer(side, &c);
    room.identity[Room::Index(side)] = IdentityOf(c);
    room.state = Room::State::Playing;
    room.lastActivity = nowMs;
    c.room = &room;
    c.side = side;
    SetRole(c, Role::Player);
    MatchMessage answer;
    answer.type = MatchType::Joined;
    answer.code = room.Code();
    answer.side = side;
    answer.seed = room.Seed();
    answer.ticks = room.Ticks();
    Answer(c, answer);
    if (Connection* host = room.Player(net::OtherSide(side))) {
        Answer(*host, Message(MatchType::PeerJoined));
    }
    LogRoom(room, std::string("joined, ") + SideName(side) + " by " + Who(c));
    lobby.Touch(room);
}

void MatchServer::Watch(Connection& c, Room& room) {
    if (room.history.Full()) {
        Refuse(c, MatchError::NotWatchable);
        return;
    }
    room.spectators.push_back(Spectator{&c, {}, false, IdentityOf(c).readsNames});
    watched.insert(&room);
    c.room = &room;
    SetRole(c, Role::Spectator);
    MatchMessage answer;
    answer.type = MatchType::Watching;
    answer.code = room.Code();
    answer.seed = room.Seed();
    Answer(c, answer);
    LogRoom(room, "spectator " + std::to_string(room.spectators.size()) + " by " + Who(c));
    lobby.Touch(room);
}

Room* MatchServer::LookUp(Connection& c, const std::string& code, uint64_t nowMs) {
    if (!addresses.MayLookUp(c.Address(), nowMs)) {
        Refuse(c, MatchError::Throttled);
        return nullptr;
    }
    auto it = rooms.find(code);
    if (it == rooms.end()) {
        addresses.ChargeMiss(c.Address(), nowMs);
        Refuse(c, MatchError::UnknownRoom);
        return nullptr;
    }
    return it->second.get();
}

void MatchServer::OnPlayerFrame(Connection& c, const uint8_t* data, size_t size, uint64_t nowMs) {
    Room& room = *c.room;
    net::Packet packet;
    const char* error = nullptr;
    if (!net::IsGameFrame(data, size) || !net::DecodePacket(data, size, packet, error) ||
        !AcceptGamePacket(c, room, packet)) {
        Bad(c);
        return;
    }
    c.lastHeard = room.lastActivity = nowMs;
    Connection* other = room.Player(net::OtherSide(c.side));
    if (!other) return;
    const bool reliable = !std::holds_alternative<net::InputPacket>(packet);
    other->Send(data, size, reliable);
    ++metrics.packetsRelayed[Metrics::At(c.Kind())];
    metrics.bytesRelayed[Metrics::At(c.Kind())] += size;
}

// Which game packets a player may send: the joiner's hello and the host's
// start (with the room's seed and sides, once the joiner is there) once
// each, inputs of its own side only, and goodbyes. Inputs are recorded for
// spectators only while both players are in a started game, and for no
// tick beyond the room's wall clock.
bool MatchServer::AcceptGamePacket(Connection& c, Room& room, const net::Packet& packet) {
    const bool host = c.side == room.HostSide();
    if (std::holds_alternative<net::HelloPacket>(packet)) {
        if (host || room.helloSeen) return false;
        room.helloSeen = true;
        return true;
    }
    if (const auto* start = std::get_if<net::StartPacket>(&packet)) {
        if (!host || !room.helloSeen || !room.startPacket.empty() || start->seed != room.Seed() ||
            start->hostSide != room.HostSide()) {
            return false;
        }
        room.startPacket = net::EncodePacket(packet);
        room.startedAt = std::max<uint64_t>(now, 1);
        room.startedAtUnix = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
        LogRoom(room, "started");
        lobby.Touch(room);
        for (NetSide side : {NetSide::Emperor, NetSide::Rebel}) {
            if (Connection* player = room.Player(side)) SendNames(room, *player);
        }
        return true;
    }
    if (const auto* inputs = std::get_if<net::InputPacket>(&packet)) {
        for (const net::InputList& list : inputs->inputs) {
            for (const GameInput& in : list) {
                if (!net::BelongsToSide(c.side, in)) return false;
            }
        }
        if (room.startPacket.empty() || room.state != Room::State::Playing) return true;
        // A game ahead of the wall clock (the simulator plays as fast as it
        // can) is relayed but no longer recorded.
        const uint64_t last = uint64_t{inputs->firstTick} + inputs->inputs.size();
        if (last > uint64_t{room.TickLimit(now, limits.ticksPerSecond, limits.tickSlack)} + 1) {
            room.history.Stop();
            return true;
        }
        for (size_t i = 0; i < inputs->inputs.size(); ++i) {
            room.history.Add(c.side, inputs->firstTick + static_cast<uint32_t>(i),
                             inputs->inputs[i]);
        }
        return true;
    }
    // A goodbye is the player leaving, even if its connection outlasts the
    // other's (the other ends on hearing it).
    room.bye[Room::Index(c.side)] = static_cast<uint8_t>(std::get<net::ByePacket>(packet).reason);
    if (room.firstOut < 0 && room.state == Room::State::Playing) {
        room.firstOut = static_cast<int>(Room::Index(c.side));
    }
    return true;
}

void MatchServer::Refuse(Connection& c, MatchError error) {
    metrics.CountError(error);
    const std::string why = net::MatchErrorText(error);
    repeated.Note("refusals (" + why + ")", c.Address(), "refused " + Who(c) + ": " + why, now);
    MatchMessage answer;
    answer.type = MatchType::Error;
    answer.error = error;
    Answer(c, answer);
}

void MatchServer::Bad(Connection& c) {
    ++metrics.badPackets[Metrics::At(c.Kind())];
    if (++c.badFrames <= limits.maxBadFrames) return;
    if (c.room) {
        repeated.Note("dropped for bad frames", c.Address(),
                      "room " + c.room->Code() + " dropped " + Who(c) + " for bad frames", now);
    }
    CloseConnection(c);
}

void MatchServer::Answer(Connection& c, const MatchMessage& message) {
    const std::vector<uint8_t> bytes = net::EncodeMatch(message);
    c.Send(bytes.data(), bytes.size(), true);
}

void MatchServer::SetRole(Connection& c, Role role) {
    const size_t kind = Metrics::At(c.Kind());
    if (c.role == Role::Player) --metrics.players[kind];
    if (c.role == Role::Spectator) --metrics.spectators[kind];
    c.role = role;
    if (role == Role::Player) ++metrics.players[kind];
    if (role == Role::Spectator) ++metrics.spectators[kind];
}

void MatchServer::CloseConnection(Connection& c) {
    if (c.role == Role::Closing) return;
    LeaveRoom(c);
    SetRole(c, Role::Closing);
    c.Close();
}

// The connection leaves its room: a player's opponent hears of it at once
// and the game is over; the room ends when nobody is left to serve.
void MatchServer::LeaveRoom(Connection& c) {
    Room* room = c.room;
    c.room = nullptr;
    if (!room) return;
    if (c.role == Role::Spectator) {
        auto& list = room->spectators;
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [&](const Spectator& s) { return s.connection == &c; }),
                   list.end());
        if (list.empty()) watched.erase(room);
        SetRole(c, Role::Lobby);
        lobby.Touch(*room);
        // The last spectator of a game both players have left ends it.
        if (room->Empty() && list.empty()) EndRoom(*room, "players left");
        return;
    }
    if (c.role != Role::Player || room->Player(c.side) != &c) return;
    room->SetPlayer(c.side, nullptr);
    SetRole(c, Role::Lobby);
    lobby.Touch(*room);
    LogRoom(*room, std::string("left, ") + SideName(c.side));
    if (Connection* other = room->Player(net::OtherSide(c.side))) {
        MatchMessage left;
        left.type = MatchType::PeerLeft;
        left.side = c.side;
        Answer(*other, left);
    }
    if (room->state != Room::State::Over) {
        if (room->firstOut < 0 && room->Player(net::OtherSide(c.side))) {
            room->firstOut = static_cast<int>(Room::Index(c.side));
        }
        room->state = Room::State::Over;
        room->overAt = now;
        KeepGame(*room, "players left");
    }
    if (room->Empty() && room->spectators.empty()) EndRoom(*room, "players left");
}

void MatchServer::Tick(uint64_t nowMs) {
    now = nowMs;
    ratings.Tick(nowMs);
    lobby.Tick(nowMs);
    // Feeding may end rooms: the list is taken first.
    feeding.assign(watched.begin(), watched.end());
    for (Room* room : feeding) {
        if (watched.count(room)) FeedSpectators(*room);
    }
    if (nowMs - lastSweep >= kTimeoutCheckMs || nowMs < lastSweep) {
        CheckTimeouts(nowMs);
        repeated.Flush(nowMs);
        if (nowMs / kSweepMs != lastSweep / kSweepMs) addresses.Sweep(nowMs);
        lastSweep = nowMs;
    }
}

void MatchServer::FeedSpectators(Room& room) {
    const bool over = room.state == Room::State::Over;
    const uint32_t confirmed = room.history.Confirmed();
    const uint32_t through =
        over ? confirmed
             : (confirmed > limits.spectatorLagTicks ? confirmed - limits.spectatorLagTicks : 0);
    std::vector<Connection*> done;
    for (Spectator& spectator : room.spectators) {
        if (FeedOne(room, spectator, through) && over && room.Empty()) {
            done.push_back(spectator.connection);
        }
    }
    // The last of them to go ends the room (LeaveRoom): `room` may be gone
    // after this loop.
    for (Connection* c : done) {
        Answer(*c, Message(MatchType::Ended));
        CloseConnection(*c);
    }
}

// Sends a spectator the start and the next ticks up to `through`, a few
// frames at a time and only while its queue is short; true once it has all.
bool MatchServer::FeedOne(Room& room, Spectator& spectator, uint32_t through) {
    Connection& c = *spectator.connection;
    if (!spectator.startSent) {
        if (room.startPacket.empty()) return true;
        c.Send(room.startPacket.data(), room.startPacket.size(), true);
        spectator.startSent = true;
        if (spectator.readsNames) SendNames(room, c);
    }
    std::vector<uint8_t> lists;
    for (int n = 0; n < kFeedFramesPerTick && c.Backlog() < limits.maxSpectatorBacklog; ++n) {
        // The side that is further behind goes first, so both advance together.
        const size_t s = spectator.sent[0] <= spectator.sent[1] ? 0 : 1;
        const NetSide side = s == 0 ? NetSide::Emperor : NetSide::Rebel;
        if (spectator.sent[s] >= through) break;
        lists.clear();
        const uint32_t first = spectator.sent[s] + 1;
        const uint32_t count = room.history.Read(side, first, net::kMaxFeedTicks, through, lists);
        if (count == 0) break;
        const std::vector<uint8_t> frame =
            net::EncodeFeed(side, first, static_cast<uint8_t>(count), lists.data(), lists.size());
        c.Send(frame.data(), frame.size(), true);
        metrics.feedBytes[Metrics::At(c.Kind())] += frame.size();
        spectator.sent[s] += count;
    }
    return spectator.sent[0] >= through && spectator.sent[1] >= through;
}

void MatchServer::CheckTimeouts(uint64_t nowMs) {
    std::vector<Connection*> expired;
    for (Connection* c : connections) {
        const bool lobby = c->role == Role::Lobby && !this->lobby.Watching(*c) &&
                           nowMs - c->openedAt > limits.lobbyTimeoutMs;
        const bool silent = c->role == Role::Player && c->room &&
                            c->room->state == Room::State::Playing &&
                            nowMs - c->lastHeard > limits.playerSilenceMs;
        if (lobby || silent) expired.push_back(c);
    }
    // Everyone silent is marked first, so that a room whose players both
    // went silent is known as such when the first of them is let go.
    for (Connection* c : expired) {
        if (c->role == Role::Player && c->room) c->room->silent[Room::Index(c->side)] = true;
    }
    for (Connection* c : expired) {
        if (c->room) LogRoom(*c->room, "dropped silent " + Who(*c));
        CloseConnection(*c);
    }
    std::vector<Room*> ending;
    std::vector<const char*> why;
    for (auto& [code, room] : rooms) {
        const Room& r = *room;
        if (r.state == Room::State::Waiting && nowMs - r.createdAt > limits.waitingRoomMs) {
            ending.push_back(room.get());
            why.push_back("nobody joined");
        } else if (r.state == Room::State::Playing && nowMs - r.lastActivity > limits.idleRoomMs) {
            ending.push_back(room.get());
            why.push_back("idle");
        } else if (r.state == Room::State::Over && nowMs - r.overAt > limits.spectatorFlushMs) {
            ending.push_back(room.get());
            why.push_back("over");
        }
    }
    for (size_t i = 0; i < ending.size(); ++i) EndRoom(*ending[i], why[i]);
}

void MatchServer::EndRoom(Room& room, const char* why) {
    room.state = Room::State::Over;
    KeepGame(room, why);
    for (NetSide side : {NetSide::Emperor, NetSide::Rebel}) {
        if (Connection* c = room.Player(side)) {
            room.SetPlayer(side, nullptr);
            c->room = nullptr;
            SetRole(*c, Role::Closing);
            c->Close();
        }
    }
    for (Spectator& s : room.spectators) {
        s.connection->room = nullptr;
        SetRole(*s.connection, Role::Closing);
        s.connection->Close();
    }
    room.spectators.clear();
    watched.erase(&room);
    lobby.Remove(room);
    quickQueue.Remove(room.Code());
    LogRoom(room, std::string("ended, ") + why);
    --metrics.rooms;
    ++metrics.roomsEnded;
    rooms.erase(room.Code());
}

void MatchServer::TellClosing(uint32_t seconds) {
    MatchMessage closing = Message(MatchType::Closing);
    closing.seconds = seconds;
    for (Connection* c : connections) {
        if (c->room && (c->role == Role::Player || c->role == Role::Spectator)) Answer(*c, closing);
    }
}

void MatchServer::CloseAll() {
    std::vector<Room*> all;
    for (auto& [code, room] : rooms) all.push_back(room.get());
    for (Room* room : all) EndRoom(*room, "server stopping");
    repeated.Flush(std::numeric_limits<uint64_t>::max());
    for (Connection* c : connections) {
        if (c->role != Role::Closing) {
            SetRole(*c, Role::Closing);
            c->Close();
        }
    }
}

void MatchServer::Identify(Connection& c, const MatchMessage& request) {
    PlayerIdentity identity;
    identity.readsNames = true;
    identity.rated = request.rated;
    if (request.hasIdentity) {
        std::string why;
        if (!CleanName(request.name, identity.name, why)) {
            identities[&c].refused = true;
            Refuse(c, MatchError::BadName);
            Bad(c);
            return;
        }
        identity.keyHash = HashKey(request.key);
    }
    identities[&c] = identity;
    // Asked now, so it is there for quick match and the lobby.
    ratings.WhenKnown(identity, now, [this, &c] {
        if (connections.count(&c) && c.room) lobby.Touch(*c.room);
    });
}

PlayerIdentity MatchServer::IdentityOf(const Connection& c) const {
    auto it = identities.find(&c);
    return it == identities.end() ? PlayerIdentity{} : it->second;
}

void MatchServer::SendNames(const Room& room, Connection& c) {
    if (!IdentityOf(c).readsNames) return;
    MatchMessage names;
    names.type = MatchType::Names;
    names.names = {room.identity[0].name, room.identity[1].name};
    Answer(c, names);
}

// A game that started is handed to the history once, when it is over: its
// inputs are final then (the room records only while both players are in).
void MatchServer::KeepGame(Room& room, const char* ending) {
    if (room.kept || room.startPacket.empty() || !gameSink) return;
    room.kept = true;
    for (const PlayerIdentity& player : room.identity) ratings.Forget(player.keyHash);
    FinishedGame game;
    game.id = net::CodeFromBits(random.Bits(40)) + net::CodeFromBits(random.Bits(40));
    game.code = room.Code();
    game.seed = room.Seed();
    net::Packet start;
    const char* error = nullptr;
    if (net::DecodePacket(room.startPacket.data(), room.startPacket.size(), start, error)) {
        game.agreedTicks = std::get<net::StartPacket>(start).ticks;
    }
    game.quick = room.Quick();
    game.ratedAsked = room.ratedAsked;
    game.players = room.identity;
    game.startedAt = room.startedAtUnix;
    game.endedAt = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
    game.bye = room.bye;
    game.silent = room.silent;
    // A player still there but long quiet went silent too (its own drop
    // would have come in a later sweep).
    for (NetSide side : {NetSide::Emperor, NetSide::Rebel}) {
        const Connection* player = room.Player(side);
        if (player && now - player->lastHeard > limits.playerSilenceMs / 2) {
            game.silent[Room::Index(side)] = true;
        }
    }
    game.firstOut = room.firstOut;
    game.recordedAll = !room.history.Full();
    game.ending = ending;
    game.confirmed = room.history.Confirmed();
    for (NetSide side : {NetSide::Emperor, NetSide::Rebel}) {
        room.history.Read(side, 1, game.confirmed, game.confirmed, game.inputs[Room::Index(side)]);
    }
    gameSink(std::move(game));
}

std::string MatchServer::NewCode() {
    for (;;) {
        std::string code = net::CodeFromBits(random.Bits(40));
        if (rooms.find(code) == rooms.end()) return code;
    }
}

void MatchServer::LogRoom(const Room& room, const std::string& event) {
    log << "room " << room.Code() << ' ' << event << std::endl;
}

}  // namespace qx::server
