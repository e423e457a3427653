#pragma once

#include <cstdint>
#include <vector>

namespace qx::net {

// The sending half of a socket whose other half lives outside C++ (the
// page's WebSocket, Node's `ws`): what WebSocketMatchConnection hands its frames
// and its close to. Frames come back through the connection's Opened,
// Frame and Closed.
class SocketPort {
  public:
    virtual ~SocketPort() = default;

    // One whole binary frame.
    virtual void Send(const std::vector<uint8_t>& frame) = 0;
    // Closes the socket once what is queued is sent.
    virtual void Close() = 0;
};

}  // namespace qx::net
