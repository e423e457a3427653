#include "web/WebNetGame.h"

#include "common/ArenaToClient.h"
#include "net/NetEndOfGame.h"
#include "net/NetEndTexts.h"
#include "replay/ReplayWriter.h"

namespace qx::web {
namespace {

constexpr uint32_t kTickMs = 30;

// A WebSocket hears nothing of its own while nobody plays, so only the
// other side's silence counts.
net::MatchRoomOptions RoomOptions(const std::string& server) {
    net::MatchRoomOptions options;
    options.server = server;
    options.game.tickMs = kTickMs;
    options.game.serverKeepsAlive = false;
    options.game.peer.hostWaitMs = 0;  // a host waits until the player gives up
    options.watch.tickMs = kTickMs;
    options.watch.serverKeepsAlive = false;
    return options;
}

}  // namespace

using Kind = net::RoomRequest::Kind;
using Cause = net::RoomEnd::Cause;
using net::PeerEnd;

WebNetGame::WebNetGame(std::unique_ptr<net::MatchConnection> link, const std::string& server,
                       int32_t w, int32_t h)
    : room(std::move(link), RoomOptions(server)), width(w), height(h) {}

WebNetGame::~WebNetGame() = default;

WebNetGame::Phase WebNetGame::GetPhase() const {
    switch (room.GetPhase()) {
        case net::MatchRoom::Phase::Connecting:
            return Phase::Connecting;
        case net::MatchRoom::Phase::Waiting:
            return Phase::WaitingForPlayer;
        case net::MatchRoom::Phase::Playing:
            return Phase::Playing;
        case net::MatchRoom::Phase::Watching:
            return Phase::Watching;
        case net::MatchRoom::Phase::Ended:
            break;
    }
    return Phase::Over;
}

net::NetSide WebNetGame::LocalSide() const {
    return Played() ? Played()->LocalSide() : net::NetSide::Emperor;
}

PeerEnd WebNetGame::End() const {
    if (room.End().cause == Cause::Game) return room.End().game;
    if (Played()) return Played()->End();
    return Watched() ? Watched()->End() : PeerEnd::None;
}

uint32_t WebNetGame::EndTick() const {
    if (room.End().Over()) return room.End().tick;
    if (Played()) return Played()->EndTick();
    return Watched() ? Watched()->Tick() : 0;
}

const char* WebNetGame::EndText() const {
    return room.End().Over() ? net::RoomEndText(room.End()) : nullptr;
}

bool WebNetGame::Update(uint64_t nowMs) {
    if (outcome != Outcome::Running) return false;
    return Handle(room.Update(nowMs));
}

bool WebNetGame::Handle(const std::vector<net::RoomRequest>& requests) {
    bool changed = false;
    for (const net::RoomRequest& r : requests) {
        switch (r.kind) {
            case Kind::InRoom:
                break;
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
                Finish();
                changed = true;
                break;
        }
    }
    return changed;
}

net::NetStatus WebNetGame::Status() const {
    return Played() && outcome == Outcome::Running ? Played()->Status() : net::NetStatus{};
}

const net::RollbackSession* WebNetGame::Session() const {
    if (Played()) return Played()->Session();
    return Watched() ? Watched()->Session() : nullptr;
}

uint32_t WebNetGame::CurrentTick() const {
    return Begun() ? Session()->CurrentTick() : 0;
}

uint32_t WebNetGame::ConfirmedTick() const {
    return Begun() ? Session()->ConfirmedTick() : 0;
}

bool WebNetGame::Begun() const {
    if (Played()) return Played()->Begun();
    return Watched() && Watched()->Begun();
}

Game* WebNetGame::SharedGame() {
    if (room.Game()) return room.Game()->SharedGame();
    return room.Watch() ? room.Watch()->SharedGame() : nullptr;
}

void WebNetGame::Input(const GameInput& input) {
    if (room.Game() && outcome == Outcome::Running) room.Game()->AddInput(input);
}

void WebNetGame::MouseMove(int32_t x, int32_t y) {
    const Game* shown = Shown();
    if (!shown || !Played()) return;
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
    if (room.Game() && outcome == Outcome::Running) room.Game()->DismissEnd();
}

void WebNetGame::Leave() {
    if (outcome != Outcome::Running) return;
    room.Leave();
    Finish();
}

// How the room's end reads for the page; the goodbye (when there is one)
// leaves at once: a WebSocket sends as it is asked and the page lingers for
// nothing.
void WebNetGame::Finish() {
    const net::RoomEnd& end = room.End();
    const bool serverGone = end.game == PeerEnd::ServerLost || end.game == PeerEnd::ServerSilent;
    if (end.cause != Cause::Game) {
        outcome = Outcome::NoRoom;
    } else if (end.game == PeerEnd::Quit) {
        outcome = Outcome::Quit;
    } else if (end.spectating && (end.game == PeerEnd::Done || end.game == PeerEnd::Left)) {
        outcome =
            Outcome::WatchedToTheEnd;  // a feed ends only by the game's end or the server's loss
    } else if (serverGone || end.spectating) {
        outcome = Outcome::ServerLost;
    } else {
        outcome = Outcome::Peer;
    }
    endBoxDue = false;
    room.Close(0);
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
    return qx::ReplayText(Played() ? Played()->TakeReplay() : Watched()->TakeReplay());
}

}  // namespace qx::web
