#include "net/MatchRoom.h"

#include <utility>

namespace qx::net {

using State = MatchClient::State;
using Fault = MatchClient::Fault;

MatchRoom::MatchRoom(std::unique_ptr<MatchConnection> link, const MatchRoomOptions& given)
    : connection(std::move(link)), options(given) {}

// The game goes before the connection it talks through.
MatchRoom::~MatchRoom() {
    game.reset();
    watch.reset();
}

MatchRoom::Phase MatchRoom::GetPhase() const {
    if (end.Over()) return Phase::Ended;
    if (watch) return Phase::Watching;
    if (game && game->Started()) return Phase::Playing;
    if (entered && Client().Hosting()) return Phase::Waiting;
    return Phase::Connecting;
}

NetGameOptions MatchRoom::GameOptions() const {
    const MatchMessage& answer = Client().Answer();
    NetGameOptions result = options.game;
    PeerOptions& peer = result.peer;
    peer.hosting = Client().Hosting();
    peer.side = answer.side;
    peer.seed = answer.seed;
    peer.ticks = answer.ticks;
    // A joiner asks for its own length too (the host plays the shorter).
    if (!peer.hosting && options.ownTicks != 0 &&
        (peer.ticks == 0 || options.ownTicks < peer.ticks))
        peer.ticks = options.ownTicks;
    peer.hostWaitMs = options.game.peer.hostWaitMs;
    peer.helloEveryMs = 0;  // the server's link carries the hello, and takes it once
    return result;
}

std::unique_ptr<MatchConnection> MatchRoom::TakeConnection() {
    if (!entered || taken) return nullptr;
    taken = true;
    return std::move(connection);
}

const std::vector<RoomRequest>& MatchRoom::Update(uint64_t nowMs) {
    requests.clear();
    if (end.Over() || taken) return requests;
    if (!clockStarted) {
        clockStarted = true;
        startedMs = nowMs;
    }
    if (!entered) {
        Ask(nowMs);
        return requests;
    }
    if (game || watch) Run(nowMs);
    return requests;
}

void MatchRoom::Ask(uint64_t nowMs) {
    const State state = connection->Update(0);
    if (state == State::InRoom) return Enter(nowMs);
    const MatchClient& client = Client();
    if (state == State::Failed) {
        switch (client.GetFault()) {
            case Fault::Refused:
                end.refusal = client.Refusal();
                return Finish(RoomEnd::Cause::Refused);
            case Fault::BadCode:
                return Finish(RoomEnd::Cause::BadCode);
            case Fault::Unreachable:
                return Finish(RoomEnd::Cause::Unreachable);
            case Fault::NoAnswer:
                return Finish(RoomEnd::Cause::NoAnswer);
            case Fault::None:
            case Fault::Closed:
                return Finish(RoomEnd::Cause::Closed);
        }
    }
    if (options.answerMs != 0 && nowMs - startedMs > options.answerMs) {
        Finish(state == State::Connecting ? RoomEnd::Cause::Unreachable : RoomEnd::Cause::NoAnswer);
    }
}

// The room answered: a player plays what the room says (the host its side
// and seed), a spectator follows the feed; unless the host takes the
// connection to run the game itself.
void MatchRoom::Enter(uint64_t nowMs) {
    entered = true;
    Push(RoomRequest::Kind::InRoom);
    if (options.handOver) return;
    if (Client().Spectating()) {
        watch = std::make_unique<NetWatch>(*connection, options.watch);
    } else {
        game = std::make_unique<NetGame>(*connection, GameOptions(), connection.get());
    }
    Run(nowMs);
}

void MatchRoom::Run(uint64_t nowMs) {
    const std::vector<NetRequest>& played = game ? game->Update(nowMs) : watch->Update(nowMs);
    for (const NetRequest& r : played) {
        RoomRequest::Kind kind = RoomRequest::Kind::Draw;
        switch (r.kind) {
            case NetRequest::Kind::Begin:
                kind = RoomRequest::Kind::Begin;
                break;
            case NetRequest::Kind::Draw:
                kind = RoomRequest::Kind::Draw;
                break;
            case NetRequest::Kind::ShowEndBox:
                kind = RoomRequest::Kind::ShowEndBox;
                break;
            case NetRequest::Kind::Ended:
                FinishGame();
                continue;
        }
        requests.push_back({kind, r.tick, r.caption, r.text});
    }
}

void MatchRoom::FinishGame() {
    end.game = game ? game->End() : watch->End();
    end.tick = game ? game->EndTick() : watch->Tick();
    end.hosting = Client().Hosting();
    end.spectating = watch != nullptr;
    if (end.game == PeerEnd::Desync) end.figure = std::to_string(end.tick);
    if (end.game == PeerEnd::Full) end.figure = options.server;
    end.cause = RoomEnd::Cause::Game;
    Push(RoomRequest::Kind::Ended);
}

void MatchRoom::Finish(RoomEnd::Cause cause) {
    end.cause = cause;
    end.spectating = Client().Request().kind == MatchRequest::Kind::Watch;
    if (cause == RoomEnd::Cause::Refused) {
        end.figure = NormalizeCode(Client().Request().code);
    } else if (cause == RoomEnd::Cause::BadCode) {
        end.figure = Client().Request().code;
    } else {
        end.figure = options.server;
    }
    connection->Close(0);
    Push(RoomRequest::Kind::Ended);
}

void MatchRoom::Leave() {
    if (end.Over() || taken) return;
    if (game) {
        game->Leave();
    } else if (watch) {
        watch->Leave();
    }
    if (game || watch) {
        end.game = PeerEnd::Quit;
        end.tick = game ? game->EndTick() : watch->Tick();
        end.spectating = watch != nullptr;
        end.hosting = Client().Hosting();
        end.cause = RoomEnd::Cause::Game;
        return;
    }
    end.game = PeerEnd::Quit;
    end.cause = RoomEnd::Cause::Game;
    connection->Close(0);
}

void MatchRoom::Close(uint32_t lingerMs) {
    if (taken) return;
    if (game) {
        game->Close(lingerMs);
    } else {
        connection->Close(lingerMs);
    }
}

}  // namespace qx::net
