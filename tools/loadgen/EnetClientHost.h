#pragma once

#include <enet/enet.h>

#include <boost/asio/io_context.hpp>
#include <boost/asio/posix/stream_descriptor.hpp>
#include <boost/asio/steady_timer.hpp>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace qx::loadgen {

// Many ENet client connections on one UDP socket, run on an Asio loop: the
// load test's ENet players share it, so a thousand of them cost one socket
// and one pass of ENet a millisecond rather than a thousand sockets to
// service. Events go to each connection's Sink.
class EnetClientHost {
  public:
    class Sink {
      public:
        virtual ~Sink() = default;
        virtual void OnConnected() = 0;
        virtual void OnFrame(const uint8_t* data, size_t size) = 0;
        virtual void OnDisconnected() = 0;
    };

    // `bind`: the local address to send from (empty: any).
    EnetClientHost(boost::asio::io_context& io, size_t maxPeers, const std::string& bind = "");
    ~EnetClientHost();

    // Starts connecting to a match server; null when ENet cannot.
    ENetPeer* Connect(const std::string& host, uint16_t port, Sink* sink);
    void Send(ENetPeer* peer, const std::vector<uint8_t>& data, bool reliable);
    void Forget(ENetPeer* peer);

  private:
    void Watch();
    void Kick();
    void Service();
    void Housekeep();

    boost::asio::io_context& io;
    ENetHost* host = nullptr;
    boost::asio::posix::stream_descriptor socket;
    boost::asio::steady_timer passTimer;
    boost::asio::steady_timer houseTimer;
    std::chrono::steady_clock::time_point lastPass;
    bool passPending = false;
};

}  // namespace qx::loadgen
