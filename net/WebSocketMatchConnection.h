#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "net/MatchConnection.h"
#include "net/SocketPort.h"

namespace qx::net {

// The match server over a WebSocket (ws://HOST:PORT/ws, one binary message
// per frame) whose socket is driven from outside: the script that owns the
// socket reports its opening, each frame and its end; the connection asks
// for the room and then carries the game's packets, so NetPeer plays
// through it as through MatchTransport. Nothing here waits: Update and Wait
// only look at what has come, as the page's tick must never block.
class WebSocketMatchConnection : public MatchConnection {
  public:
    static constexpr uint32_t kConnectMs = 5000;
    using Clock = std::function<uint64_t()>;

    // `port` is the socket, already connecting; null `clock` uses the
    // steady clock. Fails at once for a request that is no request (an
    // invite code that is no code).
    WebSocketMatchConnection(std::unique_ptr<SocketPort> port, const MatchRequest& request,
                             Clock clock = nullptr);

    // The WebSocket address for `server` ("HOST:PORT", or a ws:// or
    // wss:// address as it is).
    static std::string UrlFor(const std::string& server);

    // The socket's own events.
    void Opened();
    void Frame(const uint8_t* data, size_t size);
    void Closed(const std::string& why);

    State Update(uint32_t ms) override;
    const MatchClient& Client() const override { return client; }

    LinkEvent Poll(std::vector<uint8_t>& data) override;
    void Send(const std::vector<uint8_t>& data, bool reliable) override;
    void Wait(uint32_t ms) override;
    void Close(uint32_t lingerMs) override;
    uint64_t BytesSent() const override { return sent; }
    uint64_t BytesReceived() const override { return received; }
    uint64_t Oversized() const override { return oversized; }

  private:
    bool Asking() const;
    void Shut();

    std::unique_ptr<SocketPort> port;
    MatchClient client;
    Clock clock;
    uint64_t startedAt = 0;
    bool open = false;
    uint64_t sent = 0;
    uint64_t received = 0;
    uint64_t oversized = 0;
};

}  // namespace qx::net
