#pragma once

#include <functional>
#include <memory>

#include "net/MatchConnection.h"

namespace qx::sim {

// A match server connection whose socket is served by the host's event loop
// (the Node build's WebSocket): the simulator's network loop blocks, so its
// waits hand the time to the event loop through `sleep` (under Node
// emscripten_sleep, which lets the socket's callbacks run meanwhile).
// Everything else is the wrapped connection's.
class SleepingConnection : public net::MatchConnection {
  public:
    using Sleep = std::function<void(uint32_t ms)>;

    SleepingConnection(std::unique_ptr<net::MatchConnection> inner, Sleep sleep)
        : inner(std::move(inner)), sleep(std::move(sleep)) {}

    State Update(uint32_t ms) override;
    const net::MatchClient& Client() const override { return inner->Client(); }

    net::LinkEvent Poll(std::vector<uint8_t>& data) override { return inner->Poll(data); }
    void Send(const std::vector<uint8_t>& data, bool reliable) override {
        inner->Send(data, reliable);
    }
    void Wait(uint32_t ms) override;
    void Close(uint32_t lingerMs) override;
    uint64_t BytesSent() const override { return inner->BytesSent(); }
    uint64_t BytesReceived() const override { return inner->BytesReceived(); }
    uint64_t Oversized() const override { return inner->Oversized(); }

  private:
    std::unique_ptr<net::MatchConnection> inner;
    Sleep sleep;
};

}  // namespace qx::sim
