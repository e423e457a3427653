#include "web/WebNetGame.h"

#include <sstream>

#include "common/ArenaToClient.h"
#include "net/NetEndOfGame.h"
#include "replay/ReplayWriter.h"

namespace qx::web {
namespace {

constexpr uint64_t kRateEveryMs = 500;

}  // namespace

using State = net::MatchClient::State;
using Step = net::RollbackSession::Step;

WebNetGame::WebNetGame(std::unique_ptr<net::MatchConnection> link, int32_t w, int32_t h)
    : connection(std::move(link)), width(w), height(h) {}

// The peer goes before the connection it talks through.
WebNetGame::~WebNetGame() {
    peer.reset();
}

net::RollbackSession* WebNetGame::Session() {
    if (watched) return watched->Session();
    return peer ? peer->Session() : nullptr;
}

const net::RollbackSession* WebNetGame::Session() const {
    if (watched) return watched->Session();
    return peer ? peer->Session() : nullptr;
}

WebNetGame::Phase WebNetGame::GetPhase() const {
    if (outcome != Outcome::Running) return Phase::Over;
    if (watched) return Phase::Watching;
    if (!peer) return Phase::Connecting;
    if (peer->Started()) return Phase::Playing;
    return Client().Hosting() ? Phase::WaitingForPlayer : Phase::Connecting;
}

net::NetSide WebNetGame::LocalSide() const {
    return peer ? peer->LocalSide() : net::NetSide::Emperor;
}

// The room's answer: a player runs NetPeer with what the room says (the
// host its side and seed), a spectator follows the feed.
void WebNetGame::StartInRoom() {
    if (Client().Spectating()) {
        watched = std::make_unique<FeedPlayer>();
        return;
    }
    const net::MatchMessage& answer = Client().Answer();
    net::PeerOptions options;
    options.hosting = Client().Hosting();
    options.side = answer.side;
    options.seed = answer.seed;
    options.ticks = answer.ticks;
    options.hostWaitMs = 0;    // a host waits until the player gives up
    options.helloEveryMs = 0;  // the server's link carries it, and takes it once
    peer = std::make_unique<net::NetPeer>(*connection, options);
}

bool WebNetGame::Pump(uint64_t nowMs) {
    if (outcome != Outcome::Running) return false;
    const State state = connection->Update(0);
    if (!peer && !watched) {
        if (state == State::Failed) {
            Finish(Outcome::NoRoom);
            return true;
        }
        if (state != State::InRoom) return false;
        StartInRoom();
    }
    if (watched) return PumpFeed();
    peer->Pump(nowMs);
    if (peer->Ended()) {
        Finish(Client().GetState() == State::Failed ? Outcome::ServerLost : Outcome::Peer);
        return true;
    }
    if (peer->Session() && !begun) Begin(*peer->Session());
    return begun;
}

bool WebNetGame::PumpFeed() {
    std::vector<uint8_t> data;
    for (net::LinkEvent e = connection->Poll(data); e != net::LinkEvent::None;
         e = connection->Poll(data)) {
        if (e == net::LinkEvent::Received) watched->Add(data.data(), data.size());
        // The feed is complete (the server closes the connection after it),
        // or the connection broke before.
        if (e == net::LinkEvent::Disconnected && !feedOver) {
            feedOver = true;
            feedLost = net::CloseReasonOf(data) != net::LinkClose::Left;
        }
    }
    if (watched->Session() && !begun) Begin(*watched->Session());
    // The server gone: what came is shown, the rest never will be.
    if (feedLost) {
        watched->PlayAll();
        Finish(Outcome::ServerLost);
        return true;
    }
    return false;
}

void WebNetGame::Begin(net::RollbackSession& session) {
    begun = true;
    session.SetListener(this);
    replay.Begin(session.Options().seed, session.FrameOf(0).state);
    Resize(width, height);
}

bool WebNetGame::Tick(uint64_t nowMs) {
    bool changed = Pump(nowMs);
    if (outcome != Outcome::Running) return true;
    changed = (watched ? TickFeed() : TickPeer(nowMs)) || changed;
    UpdateRollbackRate(nowMs);
    return changed;
}

bool WebNetGame::TickFeed() {
    if (!begun) return false;
    const bool played = watched->Play() > 0;
    if (feedOver && watched->Backlog() == 0) Finish(Outcome::WatchedToTheEnd);
    return played;
}

// As the desktop's tick: the end-of-game box when a confirmed end waits for
// it, the collected inputs for the ticks that want them, and one step unless
// this machine is ahead of the other.
bool WebNetGame::TickPeer(uint64_t nowMs) {
    if (!peer || !begun) return false;
    net::RollbackSession& session = *peer->Session();
    if (const uint32_t end = session.OpenEnd(); end != 0 && !endBoxOpen) {
        endBoxOpen = true;
        endBoxTaken = false;
    }
    while (peer->WantsLocalInput()) {
        if (!peer->AddLocalInput(collected, nowMs)) break;
        collected.Clear();
    }
    if (!peer->ShouldWaitForOther()) lastStep = peer->Advance(nowMs);
    if (peer->Ended()) {
        Finish(Client().GetState() == State::Failed ? Outcome::ServerLost : Outcome::Peer);
    }
    return true;
}

void WebNetGame::UpdateRollbackRate(uint64_t nowMs) {
    const net::RollbackSession* session = Session();
    if (!session || nowMs - rateSince < kRateEveryMs) return;
    const int64_t rolled = session->Stats().rolledBackTicks;
    if (rateSince != 0) {
        rollbackRate = static_cast<uint32_t>((rolled - rolledBackSince) * 1000 /
                                             static_cast<int64_t>(nowMs - rateSince));
    }
    rolledBackSince = rolled;
    rateSince = nowMs;
}

bool WebNetGame::WaitingForOther() const {
    if (!peer || !begun || outcome != Outcome::Running) return false;
    return lastStep == Step::TooFarAhead || lastStep == Step::EndUnconfirmed ||
           (lastStep == Step::EndBoxOpen && !endBoxOpen);
}

net::PeerFigures WebNetGame::Figures() const {
    return peer ? peer->Figures() : net::PeerFigures{};
}

void WebNetGame::MouseMove(int32_t x, int32_t y) {
    const Game* game = Shown();
    if (!game || Spectating()) return;
    if (const auto target = ClientToArena(x, y, game->ClientRect())) {
        collected.AddTarget(target->x, target->y);
    }
}

void WebNetGame::Aim(int32_t arenaX, int32_t arenaY) {
    if (!Spectating()) collected.AddTarget(arenaX, arenaY);
}

void WebNetGame::LeftButton() {
    if (!Spectating()) collected.Add(GameInput::Fire(Weapon::Forward));
}

void WebNetGame::RightButton() {
    if (!Spectating()) collected.Add(GameInput::Fire(Weapon::Down));
}

void WebNetGame::Key(GameKey key) {
    if (!Spectating()) collected.Add(GameInput::Key(key));
}

void WebNetGame::NewGame() {
    if (!Spectating()) collected.Add(GameInput::NewGame(net::kNetPlayers));
}

void WebNetGame::Resize(int32_t w, int32_t h) {
    width = w;
    height = h;
    if (net::RollbackSession* session = Session(); session && begun) {
        session->GetGame().SetClientSize(width, height);
        session->GetGame().ShowState();
    }
}

void WebNetGame::Paint() {
    if (net::RollbackSession* session = Session(); session && begun) {
        session->GetGame().ShowState();
    }
}

bool WebNetGame::TakeEndBox(std::string& caption, std::string& text) {
    if (endBoxTaken || !peer || !peer->Session()) return false;
    const uint32_t end = peer->Session()->OpenEnd();
    if (end == 0) return false;
    endBoxTaken = true;
    const net::Frame& frame = peer->Session()->FrameOf(end);
    caption = frame.endCaption;
    text = frame.endText;
    return true;
}

void WebNetGame::CloseEndBox() {
    if (!endBoxOpen) return;
    endBoxOpen = false;
    endBoxTaken = true;
    if (peer && peer->Session()) peer->Session()->DismissEnd();
}

void WebNetGame::Leave() {
    if (outcome != Outcome::Running) return;
    if (peer) peer->Leave();
    Finish(Outcome::Quit);
}

void WebNetGame::Finish(Outcome why) {
    outcome = why;
    endBoxOpen = false;
    endBoxTaken = true;
    connection->Close(0);
}

const Game* WebNetGame::Shown() const {
    const net::RollbackSession* session = Session();
    return session && begun ? &session->GetGame() : nullptr;
}

std::vector<Box> WebNetGame::TakeScreenWrites() {
    net::RollbackSession* session = Session();
    return session && begun ? session->GetGame().TakeScreenWrites() : std::vector<Box>{};
}

void WebNetGame::OnConfirmed(uint32_t, const net::Frame& frame) {
    replay.Add(frame);
}

std::string WebNetGame::ReplayText() const {
    if (!begun) return {};
    std::ostringstream out;
    WriteReplay(replay.Finish(), out);
    return out.str();
}

}  // namespace qx::web
