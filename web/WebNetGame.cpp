#include "web/WebNetGame.h"

#include "common/ArenaToClient.h"
#include "net/NetEndOfGame.h"
#include "net/NetEndTexts.h"
#include "replay/ReplayWriter.h"

namespace qx::web {
namespace {

constexpr uint32_t kTickMs = 30;

}  // namespace

using State = net::MatchClient::State;
using Kind = net::NetRequest::Kind;
using net::PeerEnd;

WebNetGame::WebNetGame(std::unique_ptr<net::MatchConnection> link, int32_t w, int32_t h)
    : connection(std::move(link)), width(w), height(h) {}

// The game goes before the connection it talks through.
WebNetGame::~WebNetGame() {
    game.reset();
    watch.reset();
}

WebNetGame::Phase WebNetGame::GetPhase() const {
    if (outcome != Outcome::Running) return Phase::Over;
    if (watch) return Phase::Watching;
    if (!game) return Phase::Connecting;
    if (game->Started()) return Phase::Playing;
    return Client().Hosting() ? Phase::WaitingForPlayer : Phase::Connecting;
}

net::NetSide WebNetGame::LocalSide() const {
    return game ? game->LocalSide() : net::NetSide::Emperor;
}

PeerEnd WebNetGame::End() const {
    if (game) return game->End();
    return watch ? watch->End() : PeerEnd::None;
}

uint32_t WebNetGame::EndTick() const {
    if (game) return game->EndTick();
    return watch ? watch->Tick() : 0;
}

const char* WebNetGame::EndText() const {
    if (watch) return watch->Ended() && End() != PeerEnd::Quit ? net::WatchEndText(End()) : nullptr;
    return game ? net::EndText(End(), Client().Hosting()) : nullptr;
}

// The room's answer: a player plays what the room says (the host its side
// and seed), a spectator follows the feed. A WebSocket hears nothing of its
// own while nobody plays, so only the other side's silence counts.
void WebNetGame::StartInRoom() {
    if (Client().Spectating()) {
        net::NetWatchOptions options;
        options.tickMs = kTickMs;
        options.serverKeepsAlive = false;
        watch = std::make_unique<net::NetWatch>(*connection, options);
        return;
    }
    const net::MatchMessage& answer = Client().Answer();
    net::NetGameOptions options;
    options.peer.hosting = Client().Hosting();
    options.peer.side = answer.side;
    options.peer.seed = answer.seed;
    options.peer.ticks = answer.ticks;
    options.peer.hostWaitMs = 0;    // a host waits until the player gives up
    options.peer.helloEveryMs = 0;  // the server's link carries it, and takes it once
    options.tickMs = kTickMs;
    options.serverKeepsAlive = false;
    game = std::make_unique<net::NetGame>(*connection, options, connection.get());
}

bool WebNetGame::Update(uint64_t nowMs) {
    if (outcome != Outcome::Running) return false;
    if (!game && !watch) {
        const State state = connection->Update(0);
        if (state == State::Failed) {
            Finish(Outcome::NoRoom);
            return true;
        }
        if (state != State::InRoom) return false;
        StartInRoom();
    }
    return Handle(game ? game->Update(nowMs) : watch->Update(nowMs));
}

bool WebNetGame::Handle(const std::vector<net::NetRequest>& requests) {
    bool changed = false;
    for (const net::NetRequest& r : requests) {
        switch (r.kind) {
            case Kind::Begin:
                Resize(width, height);
                changed = true;
                break;
            case Kind::Draw:
                changed = true;
                break;
            case Kind::ShowEndBox:
                endBoxDue = true;
                endCaption = r.caption;
                endText = r.text;
                break;
            case Kind::Ended:
                changed = true;
                break;
        }
    }
    const PeerEnd end = End();
    if (end == PeerEnd::None) return changed;
    // A spectator's feed ends only by the game's end or the server's loss.
    const bool serverGone = end == PeerEnd::ServerLost || end == PeerEnd::ServerSilent;
    if (end == PeerEnd::Quit) {
        Finish(Outcome::Quit);
    } else if (watch && (end == PeerEnd::Done || end == PeerEnd::Left)) {
        Finish(Outcome::WatchedToTheEnd);
    } else if (serverGone || watch) {
        Finish(Outcome::ServerLost);
    } else {
        Finish(Outcome::Peer);
    }
    return true;
}

net::NetStatus WebNetGame::Status() const {
    return game && outcome == Outcome::Running ? game->Status() : net::NetStatus{};
}

const net::RollbackSession* WebNetGame::Session() const {
    if (game) return game->Session();
    return watch ? watch->Session() : nullptr;
}

uint32_t WebNetGame::CurrentTick() const {
    return Begun() ? Session()->CurrentTick() : 0;
}

uint32_t WebNetGame::ConfirmedTick() const {
    return Begun() ? Session()->ConfirmedTick() : 0;
}

bool WebNetGame::Begun() const {
    if (game) return game->Begun();
    return watch && watch->Begun();
}

Game* WebNetGame::SharedGame() {
    if (game) return game->SharedGame();
    return watch ? watch->SharedGame() : nullptr;
}

void WebNetGame::Input(const GameInput& input) {
    if (game && outcome == Outcome::Running) game->AddInput(input);
}

void WebNetGame::MouseMove(int32_t x, int32_t y) {
    const Game* shown = Shown();
    if (!shown || !game) return;
    if (const auto target = ClientToArena(x, y, shown->ClientRect())) {
        Input(GameInput::Target(target->x, target->y));
    }
}

void WebNetGame::Aim(int32_t arenaX, int32_t arenaY) {
    Input(GameInput::Target(arenaX, arenaY));
}

void WebNetGame::LeftButton() {
    Input(GameInput::Fire(Weapon::Forward));
}

void WebNetGame::RightButton() {
    Input(GameInput::Fire(Weapon::Down));
}

void WebNetGame::Key(GameKey key) {
    Input(GameInput::Key(key));
}

void WebNetGame::NewGame() {
    Input(GameInput::NewGame(net::kNetPlayers));
}

void WebNetGame::Resize(int32_t w, int32_t h) {
    width = w;
    height = h;
    if (Game* shown = SharedGame()) {
        shown->SetClientSize(width, height);
        shown->ShowState();
    }
}

void WebNetGame::Paint() {
    if (Game* shown = SharedGame()) shown->ShowState();
}

bool WebNetGame::TakeEndBox(std::string& caption, std::string& text) {
    if (!endBoxDue) return false;
    endBoxDue = false;
    caption = endCaption;
    text = endText;
    return true;
}

void WebNetGame::CloseEndBox() {
    if (game && outcome == Outcome::Running) game->DismissEnd();
}

void WebNetGame::Leave() {
    if (outcome != Outcome::Running) return;
    if (game) game->Leave();
    if (watch) watch->Leave();
    Finish(Outcome::Quit);
}

// The goodbye (when there is one) leaves at once: a WebSocket sends as it
// is asked and the page lingers for nothing.
void WebNetGame::Finish(Outcome why) {
    outcome = why;
    endBoxDue = false;
    if (game) {
        game->Close(0);
    } else {
        connection->Close(0);
    }
}

const Game* WebNetGame::Shown() const {
    return const_cast<WebNetGame*>(this)->SharedGame();
}

std::vector<Box> WebNetGame::TakeScreenWrites() {
    Game* shown = SharedGame();
    return shown ? shown->TakeScreenWrites() : std::vector<Box>{};
}

std::string WebNetGame::ReplayText() const {
    if (!Begun()) return {};
    return qx::ReplayText(game ? game->TakeReplay() : watch->TakeReplay());
}

}  // namespace qx::web
