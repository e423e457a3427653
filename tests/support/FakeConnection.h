#pragma once

#include <string>
#include <vector>

#include "net/MatchProtocol.h"
#include "server/Connection.h"

namespace qx::test {

// A match server's connection that keeps what the server sends it.
class FakeConnection : public server::Connection {
  public:
    explicit FakeConnection(std::string address = "10.0.0.1")
        : Connection(server::TransportKind::Enet, std::move(address), 0) {}
    void Send(const uint8_t* data, size_t size, bool) override {
        frames.emplace_back(data, data + size);
    }
    void Close() override { closed = true; }
    size_t Backlog() const override { return 0; }

    // The control messages received since the last call.
    std::vector<net::MatchMessage> Messages() {
        std::vector<net::MatchMessage> out;
        for (; read < frames.size(); ++read) {
            net::MatchMessage m;
            const char* why = nullptr;
            if (net::DecodeMatch(frames[read].data(), frames[read].size(), m, why))
                out.push_back(m);
        }
        return out;
    }

    std::vector<std::vector<uint8_t>> frames;
    size_t read = 0;
    bool closed = false;
};

}  // namespace qx::test
