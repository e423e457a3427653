#pragma once

#include <cstdint>
#include <variant>
#include <vector>

#include "net/InputList.h"

namespace qx::net {

// The messages two machines exchange in a network game. Ticks count from 1
// (tick t is the t-th game tick; tick 0 names the state at the start).

enum class NetSide : uint8_t { Emperor = 1, Rebel = 2 };

constexpr NetSide OtherSide(NetSide side) {
    return side == NetSide::Emperor ? NetSide::Rebel : NetSide::Emperor;
}

// The largest tick any message may name (a game of 30 ms ticks would need
// two years to reach it).
constexpr uint32_t kMaxTick = 0x7FFFFFFF;

// The joining machine introduces itself.
struct HelloPacket {
    uint32_t ticks = 0;  // how many ticks it wants to play; 0: no limit
    bool operator==(const HelloPacket&) const = default;
};

// The hosting machine's answer: the game both will play.
struct StartPacket {
    uint32_t seed = 0;
    NetSide hostSide = NetSide::Emperor;
    uint32_t ticks = 0;  // agreed length; 0: no limit
    bool operator==(const StartPacket&) const = default;
};

// Sent every tick: this machine's inputs for the ticks the other has not
// acknowledged yet (so a lost packet costs nothing once a later one
// arrives), what it has of the other's inputs, and the checksum of its
// latest confirmed tick.
struct InputPacket {
    static constexpr size_t kMaxTicks = 32;

    uint32_t sequence = 0;       // counts the sender's input packets, for loss figures
    uint32_t ack = 0;            // the receiver's inputs held up to this tick (0: none)
    uint32_t currentTick = 0;    // the sender's latest simulated tick
    int8_t advantage = 0;        // how many ticks the sender thinks it is ahead
    uint32_t confirmedTick = 0;  // the sender's latest tick with both sides' inputs
    uint64_t checksum = 0;       // the state's checksum after confirmedTick
    uint32_t dismissedEnd = 0;   // the last end-of-game tick whose box the sender's player closed
    uint32_t firstTick = 1;      // the tick of inputs[0]
    std::vector<InputList> inputs;  // at most kMaxTicks

    bool operator==(const InputPacket&) const = default;
};

enum class ByeReason : uint8_t {
    Done = 1,     // played the agreed number of ticks
    Quit = 2,     // the player ended the network game
    Desync = 3,   // the checksums of `tick` differ
    Refused = 4,  // the other machine's messages made no sense
};

// Sent once when a machine leaves the game.
struct ByePacket {
    ByeReason reason = ByeReason::Quit;
    uint32_t tick = 0;
    bool operator==(const ByePacket&) const = default;
};

using Packet = std::variant<HelloPacket, StartPacket, InputPacket, ByePacket>;

}  // namespace qx::net
