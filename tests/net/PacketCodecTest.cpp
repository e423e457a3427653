#include <gtest/gtest.h>

#include "net/PacketCodec.h"
#include "net/SideInputs.h"

namespace qx::net {
namespace {

InputPacket FullInputPacket() {
    InputPacket p;
    p.sequence = 0xFFFFFFFF;
    p.ack = 41;
    p.currentTick = 44;
    p.advantage = -3;
    p.confirmedTick = 40;
    p.checksum = 0x0123456789ABCDEFull;
    p.dismissedEnd = 17;
    p.firstTick = kMaxTick - 31;
    p.inputs.resize(InputPacket::kMaxTicks);
    InputList& busy = p.inputs[3];
    busy.Add(GameInput::Target(599, 399));
    busy.Add(GameInput::Fire(Weapon::Forward));
    busy.Add(GameInput::Fire(Weapon::Up));
    busy.Add(GameInput::Key(GameKey::DownRight));
    busy.Add(GameInput::NewGame(PlayerChoice{true, false}));
    for (size_t i = 0; i < InputList::kCapacity; ++i) p.inputs[7].Add(GameInput::Target(0, 0));
    return p;
}

Packet RoundTrip(const Packet& packet) {
    const std::vector<uint8_t> bytes = EncodePacket(packet);
    Packet back;
    const char* error = nullptr;
    EXPECT_TRUE(DecodePacket(bytes.data(), bytes.size(), back, error)) << error;
    return back;
}

const char* Refusal(std::vector<uint8_t> bytes) {
    Packet back;
    const char* error = nullptr;
    EXPECT_FALSE(DecodePacket(bytes.data(), bytes.size(), back, error));
    return error ? error : "";
}

TEST(PacketCodec, EveryMessageComesBackAsSent) {
    const std::vector<Packet> packets = {
        HelloPacket{1000},
        StartPacket{0xDEADBEEF, NetSide::Rebel, kMaxTick},
        InputPacket{},
        FullInputPacket(),
        ByePacket{ByeReason::Desync, 1234},
    };
    for (const Packet& p : packets) EXPECT_EQ(RoundTrip(p), p);
    EXPECT_LE(EncodePacket(FullInputPacket()).size(), kMaxPacketSize);
}

// Byte offsets in an input packet: the header (4), then sequence, ack,
// current tick (4 each), advantage (1), confirmed tick (4), checksum (8),
// dismissed end (4), first tick (4), tick count (1): the first tick's input
// count is at 38.
constexpr size_t kFirstTickAt = 33;
constexpr size_t kTickCountAt = 37;
constexpr size_t kFirstListAt = 38;

std::vector<uint8_t> OneInput(const GameInput& in) {
    InputPacket p;
    p.inputs.resize(1);
    p.inputs[0].Add(in);
    return EncodePacket(p);
}

TEST(PacketCodec, RefusesMalformedPacketsAsAWhole) {
    const std::vector<uint8_t> good = EncodePacket(FullInputPacket());
    for (size_t n = 0; n < good.size(); ++n) {
        Refusal({good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)});
    }
    auto edited = [&](size_t at, uint8_t value, std::vector<uint8_t> bytes) {
        bytes.at(at) = value;
        return Refusal(bytes);
    };
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    EXPECT_STREQ(Refusal(longer), "bytes after the end");
    EXPECT_STREQ(Refusal(std::vector<uint8_t>(kMaxPacketSize + 1, 'Q')), "longer than any packet");
    EXPECT_STREQ(edited(0, 'q', good), "not a game packet");
    EXPECT_STREQ(edited(2, kProtocolVersion + 1, good), "other protocol version");
    EXPECT_STREQ(edited(3, 9, good), "unknown packet type");
    EXPECT_STREQ(edited(kTickCountAt, InputPacket::kMaxTicks + 1, good),
                 "inputs: tick range out of range");
    EXPECT_STREQ(edited(kFirstTickAt + 3, 0x80, good), "inputs: tick range out of range");
    EXPECT_STREQ(edited(kFirstListAt, 17, EncodePacket(InputPacket{.inputs = {InputList{}}})),
                 "inputs: bad input count");
    EXPECT_STREQ(edited(kFirstListAt, 0x80, EncodePacket(InputPacket{.inputs = {InputList{}}})),
                 "inputs: bad input count");
    // First tick 0, ticks past the largest one, and each kind of bad value.
    InputPacket zero;
    zero.firstTick = 0;
    EXPECT_STREQ(Refusal(EncodePacket(zero)), "inputs: tick range out of range");
    const size_t value = kFirstListAt + 2;  // after the list head and the kind
    EXPECT_STREQ(edited(value + 1, 0x03, OneInput(GameInput::Target(10, 10))), "inputs: bad input");
    EXPECT_STREQ(edited(value + 3, 0x90, OneInput(GameInput::Target(10, 10))), "inputs: bad input");
    EXPECT_STREQ(edited(value, 0, OneInput(GameInput::Fire(Weapon::Down))), "inputs: bad input");
    EXPECT_STREQ(edited(value, 4, OneInput(GameInput::Fire(Weapon::Down))), "inputs: bad input");
    EXPECT_STREQ(edited(value, 0, OneInput(GameInput::Key(GameKey::Up))), "inputs: bad input");
    EXPECT_STREQ(edited(value, 14, OneInput(GameInput::Key(GameKey::Up))), "inputs: bad input");
    EXPECT_STREQ(edited(value, 4, OneInput(GameInput::NewGame(PlayerChoice{}))),
                 "inputs: bad input");
    EXPECT_STREQ(edited(value - 1, 5, OneInput(GameInput::Key(GameKey::Up))), "inputs: bad input");
    EXPECT_STREQ(edited(8, 0, EncodePacket(StartPacket{})), "start: bad side");
    EXPECT_STREQ(edited(7, 0x80, EncodePacket(HelloPacket{})), "hello: tick count out of range");
    EXPECT_STREQ(edited(4, 5, EncodePacket(ByePacket{})), "bye: bad reason");
}

TEST(SideInputs, EachSideSendsOnlyItsOwnControls) {
    const GameInput target = GameInput::Target(5, 5);
    const GameInput fire = GameInput::Fire(Weapon::Down);
    const GameInput enter = GameInput::Key(GameKey::Enter);
    const GameInput space = GameInput::Key(GameKey::Space);
    const GameInput people = GameInput::NewGame(PlayerChoice{true, true});
    for (const GameInput& in : {target, fire, enter, people}) {
        EXPECT_TRUE(BelongsToSide(NetSide::Emperor, in));
    }
    for (const GameInput& in : {space, people, GameInput::Key(GameKey::Stop)}) {
        EXPECT_TRUE(BelongsToSide(NetSide::Rebel, in));
    }
    for (const GameInput& in : {target, fire, enter})
        EXPECT_FALSE(BelongsToSide(NetSide::Rebel, in));
    EXPECT_FALSE(BelongsToSide(NetSide::Emperor, space));
    for (NetSide side : {NetSide::Emperor, NetSide::Rebel}) {
        EXPECT_FALSE(BelongsToSide(side, GameInput::Repaint()));
        EXPECT_FALSE(BelongsToSide(side, GameInput::NewGame()));
        EXPECT_FALSE(BelongsToSide(side, GameInput::NewGame(PlayerChoice{true, false})));
        EXPECT_FALSE(BelongsToSide(side, GameInput::Key(GameKey::None)));
        EXPECT_FALSE(BelongsToSide(side, GameInput::Target(600, 0)));
        EXPECT_FALSE(BelongsToSide(side, GameInput::Target(0, -1)));
    }
}

}  // namespace
}  // namespace qx::net
