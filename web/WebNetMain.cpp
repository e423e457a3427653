// The functions the page calls for a network game through the match server.
// The page starts one with qx_net_start, calls qx_net_update with its wall
// clock on every wake-up (its timers, each socket event) and reads the
// phase, the end with its words and the status line's figures from here;
// qx_net_close lets it go. Texts come
// back through qx_text (WebMain.cpp) like the page's other texts.
#include "web/WebNetMain.h"

#include <emscripten.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include "net/JsWebSocket.h"
#include "net/LinkSilence.h"

namespace qx::web {
namespace {

// The page names phases, outcomes and ends by these numbers
// (web/page/net-texts.mjs: PHASE, OUTCOME, PEER_END).
template <typename E>
constexpr int N(E value) {
    return static_cast<int>(value);
}
using Phase = WebNetGame::Phase;
using Outcome = WebNetGame::Outcome;
using End = net::PeerEnd;
static_assert(N(Phase::Connecting) == 0 && N(Phase::WaitingForPlayer) == 1 &&
              N(Phase::Playing) == 2 && N(Phase::Watching) == 3 && N(Phase::Over) == 4);
static_assert(N(Outcome::Running) == 0 && N(Outcome::Peer) == 1 && N(Outcome::NoRoom) == 2 &&
              N(Outcome::ServerLost) == 3 && N(Outcome::WatchedToTheEnd) == 4 &&
              N(Outcome::Quit) == 5);
using Cause = net::RoomEnd::Cause;
static_assert(N(Cause::None) == 0 && N(Cause::Game) == 1 && N(Cause::Refused) == 2 &&
              N(Cause::BadCode) == 3 && N(Cause::Unreachable) == 4 && N(Cause::NoAnswer) == 5 &&
              N(Cause::Closed) == 6);
static_assert(N(End::None) == 0 && N(End::Done) == 1 && N(End::Desync) == 2 &&
              N(End::Unreachable) == 3 && N(End::Full) == 4 && N(End::OtherVersion) == 5 &&
              N(End::Silent) == 6 && N(End::Garbled) == 7 && N(End::Refused) == 8 &&
              N(End::Left) == 9 && N(End::Quit) == 10 && N(End::ServerSilent) == 11 &&
              N(End::ServerLost) == 12);

std::unique_ptr<WebNetGame> running;
std::string netText;
// What the page writes (qx_net_argument): the invite code, the server
// address, the player's name and its key (64 hex digits).
std::string arguments[4];

int Hand(std::string text) {
    netText = std::move(text);
    return static_cast<int>(netText.size());
}

// A link that never hears anything: the liveness rule applied to a quiet
// time alone.
class DeafLink final : public net::Transport {
  public:
    net::LinkEvent Poll(std::vector<uint8_t>& /*data*/) override { return net::LinkEvent::None; }
    void Send(const std::vector<uint8_t>& /*data*/, bool /*reliable*/) override {}
    void Wait(uint32_t /*ms*/) override {}
    void Close(uint32_t /*lingerMs*/) override {}
    uint64_t BytesSent() const override { return 0; }
    uint64_t BytesReceived() const override { return 0; }
    uint64_t Oversized() const override { return 0; }
};

// 64 hex digits into the key; false when they are not.
bool ReadKey(const std::string& hex, std::array<uint8_t, net::kKeySize>& key) {
    if (hex.size() != key.size() * 2) return false;
    for (size_t i = 0; i < key.size(); ++i) {
        unsigned value = 0;
        for (const char c : {hex[2 * i], hex[2 * i + 1]}) {
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0) return false;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        key[i] = static_cast<uint8_t>(value);
    }
    return true;
}

}  // namespace

WebNetGame* RunningNetGame() {
    return running.get();
}

extern "C" {

// Room for qx_net_start's text arguments: which = 0 the invite code, 1 the
// server, 2 the player's name (empty: none), 3 its key in hex; `size`
// bytes the page writes there.
EMSCRIPTEN_KEEPALIVE char* qx_net_argument(int which, int size) {
    std::string& argument = arguments[which >= 1 && which <= 3 ? which : 0];
    argument.assign(static_cast<size_t>(size < 0 ? 0 : size), '\0');
    return argument.data();
}

// kind: 1 create, 2 join, 3 quick match, 4 watch; side (create): 1 Emperor,
// 2 Rebel; ticks (create, quick): the game's length wanted, 0 no limit; the
// code (join, watch) as typed and the server ("HOST:PORT" or a ws:// URL)
// from qx_net_argument.
EMSCRIPTEN_KEEPALIVE void qx_net_start(int kind, int side, int ticks, int width, int height) {
    net::MatchRequest request;
    constexpr net::MatchRequest::Kind kinds[] = {
        net::MatchRequest::Kind::Create, net::MatchRequest::Kind::Join,
        net::MatchRequest::Kind::Quick, net::MatchRequest::Kind::Watch};
    request.kind = kinds[kind >= 1 && kind <= 4 ? kind - 1 : 2];
    request.side = side == 2 ? net::NetSide::Rebel : net::NetSide::Emperor;
    request.ticks = static_cast<uint32_t>(ticks < 0 ? 0 : ticks);
    request.code = arguments[0];
    // Always identified, so that the server sends the players' names; a
    // name goes with its key (the server checks the name and says why it
    // refuses one).
    request.identify = true;
    if (!arguments[2].empty() && ReadKey(arguments[3], request.key)) request.name = arguments[2];
    running.reset();  // its socket closes before the next one opens
    running = std::make_unique<WebNetGame>(
        net::JsWebSocket::Connect(net::WebSocketMatchConnection::UrlFor(arguments[1]), request),
        arguments[1], width, height);
}

// Reads the socket and runs the ticks due at `nowMs`; 1 when the screen
// may have changed.
EMSCRIPTEN_KEEPALIVE int qx_net_update(double nowMs) {
    return running && running->Update(static_cast<uint64_t>(nowMs)) ? 1 : 0;
}

// -1 none; then WebNetGame::Phase by number.
EMSCRIPTEN_KEEPALIVE int qx_net_phase() {
    return running ? static_cast<int>(running->GetPhase()) : -1;
}

// The end: which = 0 the outcome (WebNetGame::Outcome), 1 the game's end
// (PeerEnd), 2 its tick, 3 the server's refusal (MatchError, 0 none), 4 the
// room's end's cause (net::RoomEnd::Cause).
EMSCRIPTEN_KEEPALIVE int qx_net_end(int which) {
    if (!running) return 0;
    switch (which) {
        case 0:
            return static_cast<int>(running->GetOutcome());
        case 1:
            return static_cast<int>(running->End());
        case 2:
            return static_cast<int>(running->EndTick());
        case 4:
            return static_cast<int>(running->RoomEnd().cause);
        default:
            return running->Client().Refused() ? static_cast<int>(running->Client().Refusal()) : 0;
    }
}

// The end's words for the player (net/NetEndTexts, in Czech: the page
// translates them and puts the figure for "%1"), empty when none are due
// (qx_net_text).
EMSCRIPTEN_KEEPALIVE int qx_net_end_text() {
    const char* text = running ? running->EndText() : nullptr;
    return Hand(text ? text : "");
}

// The figure the end's words name: the invite code, the server, the tick
// (qx_net_text).
EMSCRIPTEN_KEEPALIVE int qx_net_end_figure() {
    return Hand(running ? running->RoomEnd().figure : std::string());
}

// The players' names once the server sent them: the Emperor side's, a
// 0x1F and the Rebel side's (qx_net_text); 0 before (or without) them.
EMSCRIPTEN_KEEPALIVE int qx_net_names() {
    if (!running || !running->Client().HasNames()) return 0;
    const std::array<std::string, 2>& names = running->Client().Names();
    return Hand(names[0] + '\x1f' + names[1]);
}

// The server's notice that it is closing: the most seconds the game may
// still go on by its latest notice; -1 when it sent none.
EMSCRIPTEN_KEEPALIVE int qx_net_closing() {
    if (!running || running->Client().ClosingNotices() == 0) return -1;
    return static_cast<int>(std::min<uint32_t>(running->Client().ClosingSeconds(), 1u << 30));
}

// The invite code of the room (qx_net_text).
EMSCRIPTEN_KEEPALIVE int qx_net_code() {
    return Hand(running ? running->Client().Answer().code : std::string());
}

// What failed before the room, in English for the console (qx_net_text).
EMSCRIPTEN_KEEPALIVE int qx_net_failure() {
    return Hand(running ? running->Client().Failure() : std::string());
}

EMSCRIPTEN_KEEPALIVE const char* qx_net_text() {
    return netText.data();
}

// The side played: 1 Emperor, 2 Rebel, 0 watching or none yet.
EMSCRIPTEN_KEEPALIVE int qx_net_side() {
    if (!running || running->Spectating() || running->GetPhase() != WebNetGame::Phase::Playing)
        return 0;
    return static_cast<int>(running->LocalSide());
}

EMSCRIPTEN_KEEPALIVE int qx_net_hosting() {
    return running && running->Client().Hosting() ? 1 : 0;
}

// The status line: 0 ping (ms), 1 input delay (ticks), 2 rollbacks a
// second, 3 packets lost, 4 waiting for the other player (0 or 1), 5 the
// game's current tick, 6 its latest confirmed tick.
EMSCRIPTEN_KEEPALIVE int qx_net_figure(int which) {
    if (!running) return 0;
    const net::NetStatus f = running->Status();
    switch (which) {
        case 0:
            return static_cast<int>(f.pingMs);
        case 1:
            return static_cast<int>(f.inputDelay);
        case 2:
            return static_cast<int>(f.rollbacksPerSecond + 0.5);
        case 3:
            return static_cast<int>(f.packetsLost);
        case 4:
            return f.waiting ? 1 : 0;
        case 5:
            return static_cast<int>(running->CurrentTick());
        default:
            return static_cast<int>(running->ConfirmedTick());
    }
}

// An end-of-game box due now: its caption, a 0x1F and its text
// (qx_net_text); 0 when none is due.
EMSCRIPTEN_KEEPALIVE int qx_net_end_box() {
    std::string caption;
    std::string text;
    if (!running || !running->TakeEndBox(caption, text)) return 0;
    return Hand(caption + '\x1f' + text);
}

EMSCRIPTEN_KEEPALIVE void qx_net_close_end_box() {
    if (running) running->CloseEndBox();
}

EMSCRIPTEN_KEEPALIVE void qx_net_leave() {
    if (running) running->Leave();
}

// Whether `quietMs` with nothing heard is silence by the game's liveness
// rule (net/LinkSilence): the page applies it to the time its tab ran
// nothing, as the other side applies it to the page's link.
EMSCRIPTEN_KEEPALIVE int qx_net_silent(double quietMs) {
    DeafLink deaf;
    net::LinkSilence silence(deaf);
    silence.Silent(0);
    const double ms = quietMs > 0 ? std::min(quietMs, 1e15) : 0.0;  // never NaN nor endless
    return silence.Silent(static_cast<uint64_t>(ms)) ? 1 : 0;
}

// Lets the network game go; the page's own game is shown again.
EMSCRIPTEN_KEEPALIVE void qx_net_close() {
    running.reset();
}

}  // extern "C"

}  // namespace qx::web
