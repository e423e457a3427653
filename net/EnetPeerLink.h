#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct _ENetHost;
struct _ENetPeer;

namespace qx::net {

// What every ENet connection of the game shares: two channels, the game's
// inputs unsequenced on the first (each packet repeats what is not yet
// acknowledged, so a late one is worth nothing), everything else reliable
// on the second.
constexpr size_t kEnetChannels = 2;
constexpr uint8_t kEnetInputChannel = 0;
constexpr uint8_t kEnetReliableChannel = 1;

// Starts ENet once for the whole program (and ends it at exit); false when
// it cannot start.
bool InitializeEnet();

// Queues one datagram for a connected peer on the channel its kind takes
// (sent with the host's next flush or service); false when the peer is not
// connected or ENet refuses it.
bool QueueToPeer(_ENetPeer* peer, const uint8_t* data, size_t size, bool reliable);

// Sends one datagram to a connected peer on the channel its kind takes,
// at once (the game sends once a tick and waits for nothing). A peer not
// connected drops it.
void SendToPeer(_ENetHost* host, _ENetPeer* peer, const std::vector<uint8_t>& data, bool reliable);

// Leaves `peer` telling it `reason`, sending what is queued first and
// waiting at most `lingerMs` for its goodbye; past that the connection is
// dropped. `peer` is null afterwards. Packets that come meanwhile are
// thrown away.
void LeavePeer(_ENetHost* host, _ENetPeer*& peer, uint32_t reason, uint32_t lingerMs);

}  // namespace qx::net
