#include "net/MatchProtocol.h"

#include <algorithm>
#include <cstring>

#include "net/PacketCodec.h"
#include "net/SideInputs.h"

namespace qx::net {
namespace {

constexpr uint8_t kMagic0 = 'Q';
constexpr uint8_t kMagic1 = 'M';
constexpr char kCodeAlphabet[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
// The fixed part of the game's Inputs packet before the first tick's list:
// the header, seven fields and the tick count.
constexpr size_t kInputsFixedSize = kHeaderSize + 34;
constexpr size_t kFeedFixedSize = kMatchHeaderSize + 6;

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t GetU32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

std::vector<uint8_t> Header(MatchType type) {
    return {kMagic0, kMagic1, kMatchVersion, static_cast<uint8_t>(type)};
}

void PutCode(std::vector<uint8_t>& out, const std::string& code) {
    for (size_t i = 0; i < kCodeLength; ++i) {
        out.push_back(i < code.size() ? static_cast<uint8_t>(code[i]) : '0');
    }
}

bool IsCodeCharacter(uint8_t c) {
    return c != 0 && std::strchr(kCodeAlphabet, c) != nullptr;
}

// The body's length of each type (requests are padded to kRequestSize).
size_t BodySize(MatchType type) {
    switch (type) {
        case MatchType::Create:
        case MatchType::Join:
        case MatchType::Quick:
        case MatchType::Watch:
        case MatchType::WatchLobby:
            return kRequestSize - kMatchHeaderSize;
        case MatchType::Identify:
            return kIdentifySize - kMatchHeaderSize;
        case MatchType::Created:
        case MatchType::Joined:
            return kCodeLength + 9;
        case MatchType::Watching:
            return kCodeLength + 4;
        case MatchType::PeerLeft:
        case MatchType::Error:
            return 1;
        case MatchType::Closing:
            return 4;
        case MatchType::PeerJoined:
        case MatchType::Ended:
        case MatchType::KeepAlive:
            return 0;
        case MatchType::Feed:
        case MatchType::Names:
        case MatchType::Lobby:
            break;
    }
    return SIZE_MAX;
}

bool IsRequest(MatchType type) {
    return type == MatchType::Create || type == MatchType::Join || type == MatchType::Quick ||
           type == MatchType::Watch || type == MatchType::WatchLobby;
}

const char* ReadCode(const uint8_t* p, std::string& code) {
    code.assign(reinterpret_cast<const char*>(p), kCodeLength);
    for (char c : code) {
        if (!IsCodeCharacter(static_cast<uint8_t>(c))) return "bad code";
    }
    return nullptr;
}

const char* ReadSide(uint8_t value, NetSide& side) {
    if (value != 1 && value != 2) return "bad side";
    side = static_cast<NetSide>(value);
    return nullptr;
}

bool Zeros(const uint8_t* p, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
        if (p[i] != 0) return false;
    }
    return true;
}

// The name is taken as bytes here; the server checks its characters.
const char* ReadIdentify(const uint8_t* p, MatchMessage& m) {
    constexpr size_t kKeyAt = 2 + kMaxNameBytes;
    if (p[0] > 3) return "bad identity flags";
    m.hasIdentity = (p[0] & 1) != 0;
    m.rated = (p[0] & 2) != 0;
    if (p[1] > kMaxNameBytes) return "name too long";
    if (!Zeros(p, 2 + p[1], kKeyAt)) return "bytes after the name";
    if (!Zeros(p, kKeyAt + kKeySize, kIdentifySize - kMatchHeaderSize)) {
        return "bytes after the end";
    }
    m.name.assign(reinterpret_cast<const char*>(p + 2), p[1]);
    std::memcpy(m.key.data(), p + kKeyAt, kKeySize);
    if (!m.hasIdentity && (!m.name.empty() || !Zeros(p, kKeyAt, kKeyAt + kKeySize))) {
        return "a name without the flag";
    }
    return nullptr;
}

// Names: two length-prefixed strings filling the body exactly.
const char* ReadNames(const uint8_t* p, size_t size, MatchMessage& m) {
    size_t pos = 0;
    for (std::string& name : m.names) {
        if (pos >= size || p[pos] > kMaxNameBytes || size - pos - 1 < p[pos]) return "bad names";
        name.assign(reinterpret_cast<const char*>(p + pos + 1), p[pos]);
        pos += 1 + p[pos];
    }
    return pos == size ? nullptr : "bad names";
}

const char* ReadBody(const uint8_t* p, MatchMessage& m) {
    switch (m.type) {
        case MatchType::Create:
            if (p[1] > 1) return "bad seed flag";
            m.hasSeed = p[1] == 1;
            m.seed = GetU32(p + 2);
            m.ticks = GetU32(p + 6);
            if (m.ticks > kMaxTick) return "tick count out of range";
            if (p[10] > 1) return "bad public flag";
            m.listed = p[10] == 1;
            for (size_t i = 11; i < kRequestSize - kMatchHeaderSize; ++i) {
                if (p[i] != 0) return "bytes after the end";
            }
            return ReadSide(p[0], m.side);
        case MatchType::Quick:
            m.ticks = GetU32(p);
            if (m.ticks > kMaxTick) return "tick count out of range";
            for (size_t i = 4; i < kRequestSize - kMatchHeaderSize; ++i) {
                if (p[i] != 0) return "bytes after the end";
            }
            return nullptr;
        case MatchType::Join:
        case MatchType::Watch:
            for (size_t i = kCodeLength; i < kRequestSize - kMatchHeaderSize; ++i) {
                if (p[i] != 0) return "bytes after the end";
            }
            return ReadCode(p, m.code);
        case MatchType::Created:
        case MatchType::Joined:
            if (const char* e = ReadCode(p, m.code)) return e;
            m.seed = GetU32(p + kCodeLength + 1);
            m.ticks = GetU32(p + kCodeLength + 5);
            return ReadSide(p[kCodeLength], m.side);
        case MatchType::Watching:
            m.seed = GetU32(p + kCodeLength);
            return ReadCode(p, m.code);
        case MatchType::PeerLeft:
            return ReadSide(p[0], m.side);
        case MatchType::Error:
            if (p[0] < 1 || p[0] > 7) return "bad error";
            m.error = static_cast<MatchError>(p[0]);
            return nullptr;
        case MatchType::Identify:
            return ReadIdentify(p, m);
        case MatchType::Closing:
            m.seconds = GetU32(p);
            return nullptr;
        case MatchType::WatchLobby:
            return Zeros(p, 0, kRequestSize - kMatchHeaderSize) ? nullptr : "bytes after the end";
        case MatchType::PeerJoined:
        case MatchType::Ended:
        case MatchType::KeepAlive:
            return nullptr;
        case MatchType::Feed:
        case MatchType::Names:
        case MatchType::Lobby:
            break;
    }
    return "unknown message type";
}

constexpr size_t kLobbyHeadSize = 5;
constexpr size_t kLobbyGameFixedSize = 1 + kCodeLength + 4 + 4 + 2 + 2;

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

uint16_t GetU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

size_t LobbyGameSize(const LobbyGame& game) {
    size_t size = kLobbyGameFixedSize;
    for (const std::string& name : game.names) size += 1 + std::min(name.size(), kMaxNameBytes);
    return size;
}

void PutLobbyGame(std::vector<uint8_t>& out, const LobbyGame& game) {
    const bool rebelFree = game.freeSide == NetSide::Rebel;
    out.push_back(static_cast<uint8_t>((game.live ? 1 : 0) | (rebelFree ? 2 : 0)));
    PutCode(out, game.code);
    PutU32(out, game.seconds);
    PutU32(out, game.ticks);
    PutU16(out, game.spectators);
    PutU16(out, game.rating);
    for (const std::string& name : game.names) {
        const size_t length = std::min(name.size(), kMaxNameBytes);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), name.begin(), name.begin() + static_cast<long>(length));
    }
}

// The games after the head, each read whole; the body must end with the last.
const char* ReadLobby(const uint8_t* p, size_t size, MatchMessage& m) {
    if (size < kLobbyHeadSize || size > kLobbyHeadSize + kMaxLobbyBytes) return "bad lobby";
    m.lobby.openGames = GetU16(p);
    m.lobby.liveGames = GetU16(p + 2);
    size_t pos = kLobbyHeadSize;
    for (uint8_t n = 0; n < p[4]; ++n) {
        if (size - pos < kLobbyGameFixedSize || p[pos] > 3) return "bad lobby game";
        LobbyGame game;
        game.live = (p[pos] & 1) != 0;
        game.freeSide = (p[pos] & 2) != 0 ? NetSide::Rebel : NetSide::Emperor;
        if (const char* e = ReadCode(p + pos + 1, game.code)) return e;
        const uint8_t* q = p + pos + 1 + kCodeLength;
        game.seconds = GetU32(q);
        game.ticks = GetU32(q + 4);
        game.spectators = GetU16(q + 8);
        game.rating = GetU16(q + 10);
        pos += kLobbyGameFixedSize;
        for (std::string& name : game.names) {
            if (pos >= size || p[pos] > kMaxNameBytes || size - pos - 1 < p[pos]) {
                return "bad lobby name";
            }
            name.assign(reinterpret_cast<const char*>(p + pos + 1), p[pos]);
            pos += 1 + p[pos];
        }
        m.lobby.games.push_back(std::move(game));
    }
    return pos == size ? nullptr : "bad lobby";
}

}  // namespace

LobbyList FitLobby(const LobbyList& list) {
    LobbyList fit{list.openGames, list.liveGames, {}};
    size_t bytes = 0;
    for (const LobbyGame& game : list.games) {
        bytes += LobbyGameSize(game);
        if (bytes > kMaxLobbyBytes || fit.games.size() == kMaxLobbyGames) break;
        fit.games.push_back(game);
    }
    return fit;
}

const char* MatchErrorText(MatchError error) {
    switch (error) {
        case MatchError::UnknownRoom:
            return "unknown-room";
        case MatchError::RoomFull:
            return "room-full";
        case MatchError::Throttled:
            return "throttled";
        case MatchError::BadRequest:
            return "bad-request";
        case MatchError::ServerFull:
            return "server-full";
        case MatchError::NotWatchable:
            return "not-watchable";
        case MatchError::BadName:
            return "bad-name";
    }
    return "unknown-error";
}

bool IsMatchFrame(const uint8_t* data, size_t size) {
    return size >= kMatchHeaderSize && data[0] == kMagic0 && data[1] == kMagic1;
}

bool IsGameFrame(const uint8_t* data, size_t size) {
    return size >= kHeaderSize && data[0] == 'Q' && data[1] == 'X';
}

std::vector<uint8_t> EncodeMatch(const MatchMessage& m) {
    std::vector<uint8_t> out = Header(m.type);
    switch (m.type) {
        case MatchType::Create:
            out.push_back(static_cast<uint8_t>(m.side));
            out.push_back(m.hasSeed ? 1 : 0);
            PutU32(out, m.seed);
            PutU32(out, m.ticks);
            out.push_back(m.listed ? 1 : 0);
            break;
        case MatchType::Quick:
            PutU32(out, m.ticks);
            break;
        case MatchType::Join:
        case MatchType::Watch:
            PutCode(out, m.code);
            break;
        case MatchType::Created:
        case MatchType::Joined:
            PutCode(out, m.code);
            out.push_back(static_cast<uint8_t>(m.side));
            PutU32(out, m.seed);
            PutU32(out, m.ticks);
            break;
        case MatchType::Watching:
            PutCode(out, m.code);
            PutU32(out, m.seed);
            break;
        case MatchType::PeerLeft:
            out.push_back(static_cast<uint8_t>(m.side));
            break;
        case MatchType::Error:
            out.push_back(static_cast<uint8_t>(m.error));
            break;
        case MatchType::Identify: {
            const size_t length = std::min(m.name.size(), kMaxNameBytes);
            out.push_back(static_cast<uint8_t>((m.hasIdentity ? 1 : 0) | (m.rated ? 2 : 0)));
            out.push_back(static_cast<uint8_t>(length));
            out.insert(out.end(), m.name.begin(), m.name.begin() + static_cast<long>(length));
            out.resize(kMatchHeaderSize + 2 + kMaxNameBytes, 0);
            out.insert(out.end(), m.key.begin(), m.key.end());
            out.resize(kIdentifySize, 0);
            break;
        }
        case MatchType::Names:
            for (const std::string& name : m.names) {
                const size_t length = std::min(name.size(), kMaxNameBytes);
                out.push_back(static_cast<uint8_t>(length));
                out.insert(out.end(), name.begin(), name.begin() + static_cast<long>(length));
            }
            break;
        case MatchType::Closing:
            PutU32(out, m.seconds);
            break;
        case MatchType::Lobby: {
            const LobbyList fit = FitLobby(m.lobby);
            PutU16(out, fit.openGames);
            PutU16(out, fit.liveGames);
            out.push_back(static_cast<uint8_t>(fit.games.size()));
            for (const LobbyGame& game : fit.games) PutLobbyGame(out, game);
            break;
        }
        case MatchType::WatchLobby:
        case MatchType::PeerJoined:
        case MatchType::Ended:
        case MatchType::Feed:
        case MatchType::KeepAlive:
            break;
    }
    if (IsRequest(m.type)) out.resize(kRequestSize, 0);
    return out;
}

bool DecodeMatch(const uint8_t* data, size_t size, MatchMessage& m, const char*& error) {
    error = nullptr;
    m = MatchMessage{};
    if (data == nullptr || !IsMatchFrame(data, size)) {
        error = "not a match message";
    } else if (data[2] != kMatchVersion) {
        error = "other protocol version";
    } else {
        m.type = static_cast<MatchType>(data[3]);
        const size_t body = BodySize(m.type);
        if (m.type == MatchType::Names) {
            error = ReadNames(data + kMatchHeaderSize, size - kMatchHeaderSize, m);
        } else if (m.type == MatchType::Lobby) {
            error = ReadLobby(data + kMatchHeaderSize, size - kMatchHeaderSize, m);
        } else if (body == SIZE_MAX) {
            error = "unknown message type";
        } else if (size - kMatchHeaderSize != body) {
            error = "wrong length";
        } else {
            error = ReadBody(data + kMatchHeaderSize, m);
        }
    }
    return error == nullptr;
}

std::string CodeFromBits(uint64_t bits) {
    std::string code(kCodeLength, '0');
    for (size_t i = 0; i < kCodeLength; ++i) {
        code[i] = kCodeAlphabet[(bits >> (5 * (kCodeLength - 1 - i))) & 31];
    }
    return code;
}

std::string NormalizeCode(const std::string& typed) {
    std::string code;
    for (char c : typed) {
        if (c == '-' || c == ' ') continue;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c == 'O') c = '0';
        if (c == 'I' || c == 'L') c = '1';
        if (!IsCodeCharacter(static_cast<uint8_t>(c)) || code.size() == kCodeLength) return "";
        code.push_back(c);
    }
    return code.size() == kCodeLength ? code : "";
}

void AppendTickInputs(const InputList& list, std::vector<uint8_t>& out) {
    InputPacket packet;
    packet.inputs.push_back(list);
    const std::vector<uint8_t> bytes = EncodePacket(packet);
    out.insert(out.end(), bytes.begin() + kInputsFixedSize, bytes.end());
}

size_t TickInputsSize(const uint8_t* data, size_t size) {
    if (size < 1 || data[0] > InputList::kCapacity) return 0;
    size_t pos = 1;
    for (uint8_t i = 0; i < data[0]; ++i) {
        if (pos >= size) return 0;
        const uint8_t kind = data[pos];
        const size_t length = kind == static_cast<uint8_t>(InputKind::Target) ? 5 : 2;
        if (size - pos < length) return 0;
        pos += length;
    }
    return pos;
}

std::vector<uint8_t> EncodeFeed(NetSide side, uint32_t firstTick, uint8_t ticks,
                                const uint8_t* lists, size_t size) {
    std::vector<uint8_t> out = Header(MatchType::Feed);
    out.reserve(kFeedFixedSize + size);
    out.push_back(static_cast<uint8_t>(side));
    PutU32(out, firstTick);
    out.push_back(ticks);
    out.insert(out.end(), lists, lists + size);
    return out;
}

bool DecodeFeed(const uint8_t* data, size_t size, FeedFrame& feed, const char*& error) {
    error = nullptr;
    if (data == nullptr || !IsMatchFrame(data, size) || size < kFeedFixedSize) {
        error = "not a feed";
        return false;
    }
    if (data[2] != kMatchVersion || data[3] != static_cast<uint8_t>(MatchType::Feed)) {
        error = "not a feed";
        return false;
    }
    if (const char* e = ReadSide(data[4], feed.side)) {
        error = e;
        return false;
    }
    // The same bytes as a game Inputs packet from this tick on, decoded by
    // the game's decoder.
    InputPacket shell;
    shell.firstTick = GetU32(data + 5);
    std::vector<uint8_t> bytes = EncodePacket(shell);
    bytes.resize(kInputsFixedSize - 1);
    bytes.insert(bytes.end(), data + kFeedFixedSize - 1, data + size);
    Packet packet;
    if (!DecodePacket(bytes.data(), bytes.size(), packet, error)) return false;
    auto& inputs = std::get<InputPacket>(packet);
    for (const InputList& list : inputs.inputs) {
        for (const GameInput& in : list) {
            if (!BelongsToSide(feed.side, in)) {
                error = "feed: input of the other side";
                return false;
            }
        }
    }
    feed.firstTick = inputs.firstTick;
    feed.inputs = std::move(inputs.inputs);
    return true;
}

}  // namespace qx::net
