#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "net/InputList.h"
#include "net/Packet.h"

namespace qx::net {

// The match server's own messages, framed like the game's packets: one
// frame is one ENet packet (channel 1, reliable) or one WebSocket binary
// message. Little-endian:
//   "QM", version, type, then the body of the type.
// Client to server (every request is exactly kRequestSize bytes, padded with
// zeros, so that no answer before a room is longer than what was sent):
//   Create   u8 side (1 Emperor, 2 Rebel), u8 has seed, u32 seed, u32 ticks,
//            u8 public (1: listed in the lobby; 0, as older clients send: private)
//   Join     8 code characters
//   Quick    u32 ticks
//   Watch    8 code characters
//   Identify u8 flags (1: has a name and key, 2: a rated room wanted),
//            u8 name length (bytes, at most kMaxNameBytes), the name in UTF-8
//            padded to kMaxNameBytes, 32 bytes of key; kIdentifySize bytes.
//            Sent before one of the requests above by clients that know
//            names; without a name (flags 0) it says only that the client
//            reads the Names message.
//   WatchLobby (zeros) the lobby, then its changes, until another
//            request or the end of the connection. Added within version 1.
// Server to client:
//   Created    8 code characters, u8 side, u32 seed, u32 ticks  (the creator hosts the game)
//   Joined     8 code characters, u8 side, u32 seed, u32 ticks  (the joiner)
//   Watching   8 code characters, u32 seed
//   PeerJoined (to the creator: the other side is here)
//   PeerLeft   u8 side
//   Feed       u8 side, u32 first tick, u8 tick count, then per tick that
//              side's inputs exactly as in the game's Inputs packet
//   Ended      (to a spectator: the feed is complete)
//   Error      u8 error
//   Names      u8 length, the Emperor side's name, u8 length, the Rebel
//              side's name (UTF-8; empty: anonymous): to players and
//              spectators that sent Identify, once the game has started
//   Closing    u32 seconds (the server is shutting down; running games may
//              go on this long at most). Added within version 1: clients
//              that predate it count it as a strange frame and go on.
//   Lobby      u16 open games, u16 live games (all public ones), u8 count,
//              then `count` games (at most kMaxLobbyBytes in all): u8 flags
//              (1: live; 2: the Rebel side is the free one of an open game),
//              8 code characters, u32 seconds (waiting, or since the start),
//              u32 ticks played, u16 spectators, u16 the waiting player's
//              rating (0: none), u8 length + the Emperor's name, u8 length +
//              the Rebel's name. Added within version 1.
//   KeepAlive  (empty: on a WebSocket, sent when the server has sent
//              nothing else for 0.9 s, so a link silent for longer means
//              the server or the client's own link is gone). Added within
//              version 1 as Closing was; clients ignore it.
// Frames starting "QX" are the game's own packets (net/PacketCodec.h),
// relayed between the two players of a room.
constexpr uint8_t kMatchVersion = 1;
constexpr size_t kMatchHeaderSize = 4;
constexpr size_t kRequestSize = 32;
constexpr size_t kCodeLength = 8;
// The Identify request: longer than the others, as it carries a name and a
// key; its answers (none, or an Error) are shorter still.
constexpr size_t kIdentifySize = 128;
constexpr size_t kMaxNameBytes = 80;  // 20 characters of at most 4 bytes
constexpr size_t kMaxNameCharacters = 20;
constexpr size_t kKeySize = 32;
// ENet's connect data of a match client (a game client sends its protocol
// version instead and is turned away).
constexpr uint32_t kMatchConnectData = 0x514D0001;
// A Lobby frame's body holds at most this many bytes and games: the games
// that do not fit are counted but not listed (GET /api/lobby lists all).
constexpr size_t kMaxLobbyBytes = 4096;
constexpr size_t kMaxLobbyGames = 255;
// The feed carries at most this many ticks in one frame.
constexpr size_t kMaxFeedTicks = InputPacket::kMaxTicks;

enum class MatchType : uint8_t {
    Create = 1,
    Join = 2,
    Quick = 3,
    Watch = 4,
    Identify = 5,
    Created = 16,
    Joined = 17,
    Watching = 18,
    PeerJoined = 19,
    PeerLeft = 20,
    Feed = 21,
    Ended = 22,
    Error = 23,
    Names = 24,
    Closing = 25,
    WatchLobby = 26,
    Lobby = 27,
    KeepAlive = 28,
};

enum class MatchError : uint8_t {
    UnknownRoom = 1,   // no room has this code
    RoomFull = 2,      // both sides are taken (or the game is over)
    Throttled = 3,     // too many attempts from this address; try later
    BadRequest = 4,    // the request made no sense
    ServerFull = 5,    // the server holds as many rooms as it may
    NotWatchable = 6,  // the game is longer than the server keeps
    BadName = 7,       // the name is empty, too long or holds invisible characters
};

const char* MatchErrorText(MatchError error);

// One game as the lobby lists it: open (a player waits for another) or live.
struct LobbyGame {
    bool live = false;
    std::string code;
    NetSide freeSide = NetSide::Rebel;  // open: the side a joiner gets
    uint32_t seconds = 0;               // open: waiting; live: since the game started
    uint32_t ticks = 0;                 // live: ticks played (recorded by the server)
    uint16_t spectators = 0;
    uint16_t rating = 0;               // open: the waiting player's rating (0: none)
    std::array<std::string, 2> names;  // Emperor's, Rebel's (empty: anonymous or free)

    bool operator==(const LobbyGame&) const = default;
};

// The lobby's frame body: how many public games there are and those listed.
struct LobbyList {
    uint16_t openGames = 0;
    uint16_t liveGames = 0;
    std::vector<LobbyGame> games;

    bool operator==(const LobbyList&) const = default;
};

// One control message; which fields count depends on the type.
struct MatchMessage {
    MatchType type = MatchType::Error;
    std::string code;                           // Join, Watch, Created, Joined, Watching
    NetSide side = NetSide::Emperor;            // Create, Created, Joined, PeerLeft
    bool hasSeed = false;                       // Create
    uint32_t seed = 0;                          // Create, Created, Joined, Watching
    uint32_t ticks = 0;                         // Create, Quick, Created, Joined
    uint32_t seconds = 0;                       // Closing
    MatchError error = MatchError::BadRequest;  // Error
    bool hasIdentity = false;                   // Identify
    bool rated = false;                         // Identify: a rated room wanted
    std::string name;                           // Identify
    std::array<uint8_t, kKeySize> key{};        // Identify
    std::array<std::string, 2> names;           // Names: Emperor's, Rebel's
    bool listed = false;                        // Create: a public room, in the lobby
    LobbyList lobby;                            // Lobby

    bool operator==(const MatchMessage&) const = default;
};

// Whether a frame is a control message ("QM") or a game packet ("QX").
bool IsMatchFrame(const uint8_t* data, size_t size);
bool IsGameFrame(const uint8_t* data, size_t size);

std::vector<uint8_t> EncodeMatch(const MatchMessage& message);
// The games of `list` that fit one Lobby frame, in order; the rest are left
// out (the totals stay).
LobbyList FitLobby(const LobbyList& list);
// Decodes a control message other than Feed; false with `error` pointing at
// a static text on anything malformed.
bool DecodeMatch(const uint8_t* data, size_t size, MatchMessage& message, const char*& error);

// Invite codes: 8 characters of Crockford's base 32 (digits and capitals
// without I, L, O and U), 40 bits. Typed codes are read leniently: lower
// case, O for 0, I and L for 1, dashes and spaces are accepted.
std::string CodeFromBits(uint64_t bits);
// The canonical code of what someone typed; empty when it is no code.
std::string NormalizeCode(const std::string& typed);

// One tick's inputs of one side, encoded as in the game's Inputs packet.
void AppendTickInputs(const InputList& list, std::vector<uint8_t>& out);
// The length of one encoded tick's inputs at `data` (0 when malformed).
size_t TickInputsSize(const uint8_t* data, size_t size);

// A spectator's feed frame: `ticks` encoded lists (AppendTickInputs) of
// `side` from `firstTick`.
std::vector<uint8_t> EncodeFeed(NetSide side, uint32_t firstTick, uint8_t ticks,
                                const uint8_t* lists, size_t size);
struct FeedFrame {
    NetSide side = NetSide::Emperor;
    uint32_t firstTick = 1;
    std::vector<InputList> inputs;
};
// Decodes a feed frame through the game's own packet decoder (so a feed
// holds only what a game packet may hold).
bool DecodeFeed(const uint8_t* data, size_t size, FeedFrame& feed, const char*& error);

}  // namespace qx::net
