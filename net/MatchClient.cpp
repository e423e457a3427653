#include "net/MatchClient.h"

namespace qx::net {
namespace {

// Events kept for Poll at most; received packets past it are dropped (the
// game's inputs come again in later packets).
constexpr size_t kMaxPending = 1024;

}  // namespace

std::vector<uint8_t> MatchRequest::Encode() const {
    MatchMessage m;
    switch (kind) {
        case Kind::Create:
            m.type = MatchType::Create;
            m.side = side;
            m.hasSeed = hasSeed;
            m.seed = seed;
            m.ticks = ticks;
            m.listed = listed;
            break;
        case Kind::Quick:
            m.type = MatchType::Quick;
            m.ticks = ticks;
            break;
        case Kind::Join:
        case Kind::Watch:
            m.type = kind == Kind::Join ? MatchType::Join : MatchType::Watch;
            m.code = NormalizeCode(code);
            if (m.code.empty()) return {};
            break;
    }
    return EncodeMatch(m);
}

std::vector<uint8_t> MatchRequest::EncodeIdentity() const {
    if (!identify) return {};
    MatchMessage m;
    m.type = MatchType::Identify;
    m.hasIdentity = !name.empty();
    m.rated = rated;
    if (m.hasIdentity) {
        m.name = name.substr(0, kMaxNameBytes);
        m.key = key;
    }
    return EncodeMatch(m);
}

std::vector<std::vector<uint8_t>> MatchClient::Greeting() {
    if (state != State::Connecting) return {};
    std::vector<std::vector<uint8_t>> frames;
    if (request.identify) frames.push_back(request.EncodeIdentity());
    frames.push_back(OnConnected());
    return frames;
}

std::vector<uint8_t> MatchClient::OnConnected() {
    if (state != State::Connecting) return {};
    state = State::Asking;
    return request.Encode();
}

void MatchClient::Fail(const std::string& why, Fault code) {
    if (state == State::Failed) return;
    state = State::Failed;
    failure = why;
    fault = code;
}

void MatchClient::OnClosed(const std::string& why) {
    if (state == State::InRoom) {
        Push(LinkEvent::Disconnected, {static_cast<uint8_t>(LinkClose::Lost)});
        state = State::Failed;
        failure = "the connection to the server ended";
        fault = Fault::Closed;
    } else {
        Fail(why, state == State::Connecting ? Fault::Unreachable : Fault::Closed);
    }
}

void MatchClient::Push(LinkEvent event, std::vector<uint8_t> data) {
    if (pending.size() < kMaxPending || event != LinkEvent::Received) {
        pending.push_back({event, std::move(data)});
    }
}

LinkEvent MatchClient::Next(std::vector<uint8_t>& data) {
    if (pending.empty()) return LinkEvent::None;
    Pending next = std::move(pending.front());
    pending.pop_front();
    data = std::move(next.data);
    return next.event;
}

void MatchClient::OnFrame(const uint8_t* data, size_t size) {
    if (IsGameFrame(data, size)) {
        if (state == State::InRoom) Push(LinkEvent::Received, {data, data + size});
        return;
    }
    if (!IsMatchFrame(data, size)) {
        ++strange;
        return;
    }
    if (data[3] == static_cast<uint8_t>(MatchType::Feed)) {
        if (state == State::InRoom && Spectating()) Push(LinkEvent::Received, {data, data + size});
        return;
    }
    MatchMessage message;
    const char* error = nullptr;
    if (DecodeMatch(data, size, message, error)) {
        OnControl(message);
    } else {
        ++strange;
    }
}

void MatchClient::OnControl(const MatchMessage& m) {
    switch (m.type) {
        case MatchType::Created:
        case MatchType::Joined:
        case MatchType::Watching:
            if (state != State::Asking) return;
            answer = m;
            state = State::InRoom;
            if (m.type != MatchType::Created) Push(LinkEvent::Connected);
            break;
        case MatchType::PeerJoined:
            if (state == State::InRoom && Hosting()) Push(LinkEvent::Connected);
            break;
        case MatchType::PeerLeft:
        case MatchType::Ended:
            // The other player (or, for a spectator, the game) is gone.
            if (state == State::InRoom) {
                Push(LinkEvent::Disconnected, {static_cast<uint8_t>(LinkClose::Left)});
            }
            break;
        case MatchType::Names:
            if (state != State::InRoom) return;
            names = m.names;
            hasNames = true;
            break;
        case MatchType::Closing:
            ++closingNotices;
            closingSeconds = m.seconds;
            break;
        case MatchType::Error:
            if (state != State::Asking) return;
            refused = true;
            refusal = m.error;
            Fail(std::string("the server refused: ") + MatchErrorText(m.error), Fault::Refused);
            break;
        default:
            break;
    }
}

}  // namespace qx::net
