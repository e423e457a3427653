#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "net/Packet.h"
#include "server/InputHistory.h"
#include "server/PlayerIdentity.h"

namespace qx::server {

class Connection;

// A spectator of a room and how far its feed has come.
struct Spectator {
    Connection* connection = nullptr;
    std::array<uint32_t, 2> sent{};  // each side's ticks sent
    bool startSent = false;
    bool readsNames = false;  // gets the Names message after the start
};

// One game on the server: the creator (who hosts the game: it draws
// nothing, the room's seed is given to it) and the joiner, their
// spectators, and the inputs from tick 1 for late spectators.
class Room {
  public:
    enum class State { Waiting, Playing, Over };

    Room(std::string code, uint32_t seed, net::NetSide hostSide, uint32_t ticks, bool quick,
         uint64_t nowMs);

    const std::string& Code() const { return code; }
    uint32_t Seed() const { return seed; }
    net::NetSide HostSide() const { return hostSide; }
    uint32_t Ticks() const { return ticks; }
    bool Quick() const { return quick; }

    Connection* Player(net::NetSide side) const { return players[Index(side)]; }
    void SetPlayer(net::NetSide side, Connection* connection);
    // The side a joiner gets, if one is free and the game has not ended.
    bool FreeSide(net::NetSide& side) const;
    bool Empty() const { return !players[0] && !players[1]; }
    // The last tick whose inputs the room records now: `perSecond` ticks a
    // second since the game started, plus `slack` (only the slack before).
    uint32_t TickLimit(uint64_t nowMs, uint32_t perSecond, uint32_t slack) const;

    State state = State::Waiting;
    uint64_t createdAt = 0;
    uint64_t lastActivity = 0;
    uint64_t overAt = 0;
    uint64_t startedAt = 0;  // when the host's start came (0: not yet)
    bool helloSeen = false;
    std::vector<uint8_t> startPacket;  // the host's start message, once sent
    std::vector<Spectator> spectators;
    InputHistory history;
    // For the history: who plays each side (Emperor, Rebel), when the game
    // started (Unix ms), each side's goodbye reason, who was dropped for
    // silence, which side left first while the other stayed (-1: none),
    // and whether the finished game was handed over.
    std::array<PlayerIdentity, 2> identity;
    bool ratedAsked = false;
    int64_t startedAtUnix = 0;
    std::array<uint8_t, 2> bye{};
    std::array<bool, 2> silent{};
    int firstOut = -1;
    bool kept = false;

    static size_t Index(net::NetSide side) { return side == net::NetSide::Emperor ? 0 : 1; }

  private:
    std::string code;
    uint32_t seed;
    net::NetSide hostSide;
    uint32_t ticks;
    bool quick;
    std::array<Connection*, 2> players{};
};

}  // namespace qx::server
