#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "net/Packet.h"

namespace qx::net {

// The bytes of the network game's messages, little-endian:
//   "QX", version, type, then the body of the type:
//   Hello  u32 ticks
//   Start  u32 seed, u8 host side (1 Emperor, 2 Rebel), u32 ticks
//   Inputs u32 sequence, u32 ack, u32 current tick, i8 advantage,
//          u32 confirmed tick, u64 checksum, u32 dismissed end, u32 first
//          tick, u8 tick count, then per tick u8 input count and the inputs: u8 kind, then Target
//          u16 x, u16 y (arena units); Fire u8 weapon (1 up, 2 down, 3 forward); Key u8 game key
//          (1-13); NewGame u8 players (bit 0 Emperor is a person, bit 1 Rebel).
//   Bye    u8 reason, u32 tick
// Decoding accepts exactly this and nothing else: a packet with a wrong
// length, version, type, count, tick or value is refused as a whole.
constexpr uint8_t kProtocolVersion = 1;
constexpr size_t kHeaderSize = 4;
constexpr size_t kMaxInputBytes = 5;
constexpr size_t kMaxPacketSize =
    kHeaderSize + 34 + InputPacket::kMaxTicks * (1 + InputList::kCapacity * kMaxInputBytes);

std::vector<uint8_t> EncodePacket(const Packet& packet);

// Decodes one received packet. On a refusal returns false and points
// `error` at a static text naming the first problem.
bool DecodePacket(const uint8_t* data, size_t size, Packet& packet, const char*& error);

// Whether an input may travel between machines at all (no repaints, no New
// game without its choice, coordinates in the arena, known keys and weapons).
bool IsWireInput(const GameInput& input);

}  // namespace qx::net
