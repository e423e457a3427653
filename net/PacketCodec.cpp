#include "net/PacketCodec.h"

#include "common/Arena.h"

namespace qx::net {
namespace {

constexpr uint8_t kMagic0 = 'Q';
constexpr uint8_t kMagic1 = 'X';

enum class Type : uint8_t { Hello = 1, Start = 2, Inputs = 3, Bye = 4 };

class Writer {
  public:
    explicit Writer(Type type) {
        bytes.reserve(64);
        U8(kMagic0);
        U8(kMagic1);
        U8(kProtocolVersion);
        U8(static_cast<uint8_t>(type));
    }
    void U8(uint8_t v) { bytes.push_back(v); }
    void U16(uint16_t v) {
        for (int i = 0; i < 2; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
    }
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
    }
    void U64(uint64_t v) {
        for (int i = 0; i < 8; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
    }
    std::vector<uint8_t> bytes;
};

// Reads little-endian values; any read past the end fails the whole reader.
class Reader {
  public:
    Reader(const uint8_t* data, size_t size) : data(data), size(size) {}
    bool Ok() const { return ok; }
    bool AtEnd() const { return ok && pos == size; }
    uint8_t U8() { return static_cast<uint8_t>(Take(1)); }
    uint16_t U16() { return static_cast<uint16_t>(Take(2)); }
    uint32_t U32() { return static_cast<uint32_t>(Take(4)); }
    uint64_t U64() { return Take(8); }

  private:
    uint64_t Take(size_t n) {
        if (!ok || size - pos < n) {
            ok = false;
            return 0;
        }
        uint64_t v = 0;
        for (size_t i = 0; i < n; ++i) v |= static_cast<uint64_t>(data[pos + i]) << (8 * i);
        pos += n;
        return v;
    }

    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    bool ok = true;
};

void WriteInput(Writer& w, const GameInput& in) {
    w.U8(static_cast<uint8_t>(in.kind));
    switch (in.kind) {
        case InputKind::Target:
            w.U16(static_cast<uint16_t>(in.x));
            w.U16(static_cast<uint16_t>(in.y));
            break;
        case InputKind::Fire:
            w.U8(static_cast<uint8_t>(in.weapon));
            break;
        case InputKind::Key:
            w.U8(static_cast<uint8_t>(in.key));
            break;
        case InputKind::NewGame:
            w.U8(static_cast<uint8_t>((in.choice->emperorHuman ? 1 : 0) |
                                      (in.choice->rebelHuman ? 2 : 0)));
            break;
        case InputKind::Repaint:
        case InputKind::EndOfGameClosed:
        case InputKind::PlayersChosen:
            break;
    }
}

void WriteInputs(Writer& w, const InputPacket& p) {
    w.U32(p.sequence);
    w.U32(p.ack);
    w.U32(p.currentTick);
    w.U8(static_cast<uint8_t>(p.advantage));
    w.U32(p.confirmedTick);
    w.U64(p.checksum);
    w.U32(p.dismissedEnd);
    w.U32(p.firstTick);
    w.U8(static_cast<uint8_t>(p.inputs.size()));
    for (const InputList& list : p.inputs) {
        w.U8(static_cast<uint8_t>(list.Size()));
        for (const GameInput& in : list) WriteInput(w, in);
    }
}

bool ReadInput(Reader& r, GameInput& in) {
    const uint8_t kind = r.U8();
    switch (static_cast<InputKind>(kind)) {
        case InputKind::Target: {
            const uint16_t x = r.U16();
            const uint16_t y = r.U16();
            in = GameInput::Target(x, y);
            break;
        }
        case InputKind::Fire:
            in = GameInput::Fire(static_cast<Weapon>(r.U8()));
            break;
        case InputKind::Key:
            in = GameInput::Key(static_cast<GameKey>(r.U8()));
            break;
        case InputKind::NewGame: {
            const uint8_t players = r.U8();
            if (players > 3) return false;
            in = GameInput::NewGame(PlayerChoice{(players & 1) != 0, (players & 2) != 0});
            break;
        }
        default:
            return false;
    }
    return r.Ok() && IsWireInput(in);
}

const char* ReadInputs(Reader& r, InputPacket& p) {
    p.sequence = r.U32();
    p.ack = r.U32();
    p.currentTick = r.U32();
    p.advantage = static_cast<int8_t>(r.U8());
    p.confirmedTick = r.U32();
    p.checksum = r.U64();
    p.dismissedEnd = r.U32();
    p.firstTick = r.U32();
    const uint8_t ticks = r.U8();
    if (!r.Ok()) return "inputs: too short";
    if (p.ack > kMaxTick || p.currentTick > kMaxTick || p.confirmedTick > kMaxTick ||
        p.dismissedEnd > kMaxTick) {
        return "inputs: tick out of range";
    }
    if (p.firstTick < 1 || ticks > InputPacket::kMaxTicks ||
        p.firstTick > kMaxTick - (ticks > 0 ? ticks - 1u : 0u)) {
        return "inputs: tick range out of range";
    }
    p.inputs.assign(ticks, InputList{});
    for (InputList& list : p.inputs) {
        const uint8_t count = r.U8();
        if (!r.Ok()) return "inputs: too short";
        if (count > InputList::kCapacity) return "inputs: bad input count";
        for (uint8_t i = 0; i < count; ++i) {
            GameInput in;
            if (!ReadInput(r, in)) return r.Ok() ? "inputs: bad input" : "inputs: too short";
            list.Add(in);
        }
    }
    return nullptr;
}

const char* ReadBody(Type type, Reader& r, Packet& packet) {
    switch (type) {
        case Type::Hello: {
            HelloPacket p;
            p.ticks = r.U32();
            if (r.Ok() && p.ticks > kMaxTick) return "hello: tick count out of range";
            packet = p;
            return nullptr;
        }
        case Type::Start: {
            StartPacket p;
            p.seed = r.U32();
            const uint8_t side = r.U8();
            p.ticks = r.U32();
            if (!r.Ok()) return "start: too short";
            if (side != 1 && side != 2) return "start: bad side";
            if (p.ticks > kMaxTick) return "start: tick count out of range";
            p.hostSide = static_cast<NetSide>(side);
            packet = p;
            return nullptr;
        }
        case Type::Inputs: {
            InputPacket p;
            if (const char* error = ReadInputs(r, p)) return error;
            packet = std::move(p);
            return nullptr;
        }
        case Type::Bye: {
            ByePacket p;
            const uint8_t reason = r.U8();
            p.tick = r.U32();
            if (!r.Ok()) return "bye: too short";
            if (reason < 1 || reason > 4) return "bye: bad reason";
            if (p.tick > kMaxTick) return "bye: tick out of range";
            p.reason = static_cast<ByeReason>(reason);
            packet = p;
            return nullptr;
        }
    }
    return "unknown packet type";
}

}  // namespace

bool IsWireInput(const GameInput& in) {
    switch (in.kind) {
        case InputKind::Target:
            return in.x >= 0 && in.x < kArenaWidth && in.y >= 0 && in.y < kArenaHeight;
        case InputKind::Fire:
            return in.weapon == Weapon::Up || in.weapon == Weapon::Down ||
                   in.weapon == Weapon::Forward;
        case InputKind::Key:
            return in.key >= GameKey::Space && in.key <= GameKey::DownRight;
        case InputKind::NewGame:
            return in.choice.has_value();
        // Never sent: repaints are local, and the session answers the
        // end-of-game box itself on both machines.
        case InputKind::Repaint:
        case InputKind::EndOfGameClosed:
        case InputKind::PlayersChosen:
            return false;
    }
    return false;
}

std::vector<uint8_t> EncodePacket(const Packet& packet) {
    if (const auto* p = std::get_if<HelloPacket>(&packet)) {
        Writer w(Type::Hello);
        w.U32(p->ticks);
        return w.bytes;
    }
    if (const auto* p = std::get_if<StartPacket>(&packet)) {
        Writer w(Type::Start);
        w.U32(p->seed);
        w.U8(static_cast<uint8_t>(p->hostSide));
        w.U32(p->ticks);
        return w.bytes;
    }
    if (const auto* p = std::get_if<InputPacket>(&packet)) {
        Writer w(Type::Inputs);
        WriteInputs(w, *p);
        return w.bytes;
    }
    const auto& bye = std::get<ByePacket>(packet);
    Writer w(Type::Bye);
    w.U8(static_cast<uint8_t>(bye.reason));
    w.U32(bye.tick);
    return w.bytes;
}

bool DecodePacket(const uint8_t* data, size_t size, Packet& packet, const char*& error) {
    error = nullptr;
    if (data == nullptr || size < kHeaderSize) {
        error = "shorter than a header";
    } else if (size > kMaxPacketSize) {
        error = "longer than any packet";
    } else if (data[0] != kMagic0 || data[1] != kMagic1) {
        error = "not a game packet";
    } else if (data[2] != kProtocolVersion) {
        error = "other protocol version";
    } else {
        Reader r(data + kHeaderSize, size - kHeaderSize);
        error = ReadBody(static_cast<Type>(data[3]), r, packet);
        if (!error && !r.AtEnd()) error = r.Ok() ? "bytes after the end" : "too short";
    }
    return error == nullptr;
}

}  // namespace qx::net
