#pragma once

#include <functional>

#include "net/MatchClient.h"
#include "net/Transport.h"
#include "tools/loadgen/EnetClientHost.h"

namespace qx::loadgen {

// One load-test player's connection over the shared ENet client host: the
// match protocol's client (MatchClient) as a Transport, like
// MatchTransport but without a socket of its own.
class EnetLink : public net::Transport, public EnetClientHost::Sink {
  public:
    EnetLink(EnetClientHost& host, const std::string& server, uint16_t port,
             const net::MatchRequest& request);
    ~EnetLink() override;

    const net::MatchClient& Client() const { return client; }
    void OnEvent(std::function<void()> callback) { onEvent = std::move(callback); }

    void OnConnected() override;
    void OnFrame(const uint8_t* data, size_t size) override;
    void OnDisconnected() override;

    net::LinkEvent Poll(std::vector<uint8_t>& data) override { return client.Next(data); }
    void Send(const std::vector<uint8_t>& data, bool reliable) override;
    void Wait(uint32_t) override {}
    void Close(uint32_t) override;
    uint64_t BytesSent() const override { return 0; }
    uint64_t BytesReceived() const override { return 0; }
    uint64_t Oversized() const override { return 0; }

  private:
    EnetClientHost& host;
    ENetPeer* peer = nullptr;
    net::MatchClient client;
    std::function<void()> onEvent;
};

}  // namespace qx::loadgen
