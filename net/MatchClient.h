#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "net/MatchProtocol.h"
#include "net/Transport.h"

namespace qx::net {

// What to ask the match server for.
struct MatchRequest {
    enum class Kind { Create, Join, Quick, Watch };
    Kind kind = Kind::Quick;
    NetSide side = NetSide::Emperor;  // Create: the creator's side
    bool hasSeed = false;             // Create: the game's seed (else the server draws it)
    uint32_t seed = 0;
    bool listed = false;  // Create: a public room, listed in the lobby
    uint32_t ticks = 0;   // Create, Quick: the game's length wanted (0: no limit)
    std::string code;     // Join, Watch: the invite code as typed

    // Who asks (sent before the request in an Identify frame): the
    // player's name as typed and its secret key; with neither, the client
    // still says that it reads the names of the game's players.
    bool identify = false;
    std::string name;
    std::array<uint8_t, kKeySize> key{};
    bool rated = false;  // Create: a rated room (quick matches are rated anyway)

    // The request's frame (a code that is no code gives an empty one).
    std::vector<uint8_t> Encode() const;
    // The Identify frame (empty without `identify`).
    std::vector<uint8_t> EncodeIdentity() const;
};

// A client's side of the match protocol, whatever carries it: the state
// from connecting to the room's answer, and the game's events that follow
// (the Transport events of MatchTransport and the WebSocket client).
class MatchClient {
  public:
    enum class State { Connecting, Asking, InRoom, Failed };
    // Why the room was not had (or the connection ended), as a code the
    // hosts word themselves; Failure() is the same in English, for logs.
    enum class Fault : uint8_t {
        None,
        BadCode,      // the request names no invite code
        Unreachable,  // the server never answered the connection
        NoAnswer,     // connected, but no room's answer came in time
        Closed,       // the server ended the connection
        Refused,      // the server refused the request (Refusal())
    };

    // The connection is up: the request to send.
    std::vector<uint8_t> OnConnected();
    // The connection is up: the frames to send in order (an Identify frame
    // when the request has one, then the request).
    std::vector<std::vector<uint8_t>> Greeting();
    void OnFrame(const uint8_t* data, size_t size);
    // The connection ended (`why` says how, for a failure before the room).
    void OnClosed(const std::string& why);
    void Fail(const std::string& why, Fault code = Fault::Closed);

    State GetState() const { return state; }
    const MatchMessage& Answer() const { return answer; }
    bool Hosting() const { return answer.type == MatchType::Created; }
    bool Spectating() const { return answer.type == MatchType::Watching; }
    bool Refused() const { return refused; }
    MatchError Refusal() const { return refusal; }
    const std::string& Failure() const { return failure; }
    Fault GetFault() const { return fault; }
    // The players' names (Emperor's, Rebel's; empty: anonymous), once the
    // server has sent them.
    bool HasNames() const { return hasNames; }
    const std::array<std::string, 2>& Names() const { return names; }
    // The server said it is closing (a drain): how many times, and the most
    // seconds its running games may still go on by the latest notice.
    uint32_t ClosingNotices() const { return closingNotices; }
    uint32_t ClosingSeconds() const { return closingSeconds; }
    // Frames from the server that were none of ours.
    uint64_t Strange() const { return strange; }

    void SetRequest(const MatchRequest& value) { request = value; }
    const MatchRequest& Request() const { return request; }
    bool HasEvent() const { return !pending.empty(); }
    LinkEvent Next(std::vector<uint8_t>& data);

  private:
    struct Pending {
        LinkEvent event;
        std::vector<uint8_t> data;
    };
    void OnControl(const MatchMessage& message);
    void Push(LinkEvent event, std::vector<uint8_t> data = {});

    MatchRequest request;
    State state = State::Connecting;
    MatchMessage answer;
    bool refused = false;
    MatchError refusal = MatchError::BadRequest;
    std::string failure;
    Fault fault = Fault::None;
    std::deque<Pending> pending;
    uint64_t strange = 0;
    bool hasNames = false;
    uint32_t closingNotices = 0;
    uint32_t closingSeconds = 0;
    std::array<std::string, 2> names;
};

}  // namespace qx::net
