#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "net/Packet.h"
#include "server/TokenBucket.h"

namespace qx::server {

class Room;

enum class TransportKind : uint8_t { Enet = 0, WebSocket = 1 };
constexpr size_t kTransportKinds = 2;
const char* TransportName(TransportKind kind);

enum class Role : uint8_t { Lobby, Player, Spectator, Closing };

// One client's connection as the match server sees it, whatever carries
// it: frames go out through Send, the transport reports frames in and the
// end to the server. The transport owns the object and keeps it until it
// has told the server the connection closed.
class Connection {
  public:
    // Frames a connection may send per second (the game sends about 33,
    // more while it catches up) and bytes per second.
    static constexpr double kFramesPerSecond = 200;
    static constexpr double kBytesPerSecond = 128 * 1024;

    Connection(TransportKind kind, std::string address, uint64_t nowMs);
    virtual ~Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    virtual void Send(const uint8_t* data, size_t size, bool reliable) = 0;
    // Ends the connection after what is queued; the transport reports the
    // end later.
    virtual void Close() = 0;
    // Bytes queued and not sent yet (a spectator's feed waits while many are).
    virtual size_t Backlog() const = 0;

    TransportKind Kind() const { return kind; }
    const std::string& Address() const { return address; }

    // The server's view of it.
    Role role = Role::Lobby;
    Room* room = nullptr;
    net::NetSide side = net::NetSide::Emperor;
    uint64_t openedAt = 0;
    uint64_t lastHeard = 0;
    uint32_t badFrames = 0;
    TokenBucket frames{kFramesPerSecond, 2 * kFramesPerSecond};
    TokenBucket bytes{kBytesPerSecond, 2 * kBytesPerSecond};

  private:
    TransportKind kind;
    std::string address;
};

}  // namespace qx::server
