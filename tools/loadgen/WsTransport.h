#pragma once

#include <boost/asio/io_context.hpp>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "net/MatchClient.h"
#include "net/Transport.h"

namespace qx::loadgen {

// A match server client over WebSocket (Boost.Beast), as a browser
// connects: ws://HOST:PORT/ws, one binary message per frame. The same
// events as MatchTransport. Runs on the caller's io_context; with `drive`
// its Update, Poll and Wait run that io_context themselves (for a program
// that has no loop of its own), otherwise the caller runs it and hears of
// new events through OnEvent.
class WsTransport : public net::Transport {
  public:
    using State = net::MatchClient::State;

    WsTransport(boost::asio::io_context& io, const std::string& host, uint16_t port,
                const net::MatchRequest& request, bool drive);
    ~WsTransport() override;

    State Update(uint32_t ms);
    const net::MatchClient& Client() const;
    void OnEvent(std::function<void()> callback);

    net::LinkEvent Poll(std::vector<uint8_t>& data) override;
    void Send(const std::vector<uint8_t>& data, bool reliable) override;
    void Wait(uint32_t ms) override;
    void Close(uint32_t lingerMs) override;
    uint64_t BytesSent() const override;
    uint64_t BytesReceived() const override;
    uint64_t Oversized() const override { return 0; }

  private:
    struct Impl;
    void Run(uint32_t ms);

    boost::asio::io_context& io;
    bool drive;
    std::shared_ptr<Impl> impl;
};

}  // namespace qx::loadgen
