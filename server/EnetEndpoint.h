#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/posix/stream_descriptor.hpp>
#include <boost/asio/steady_timer.hpp>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct _ENetHost;
struct _ENetPeer;
struct _ENetEvent;

namespace qx::server {

class HalfOpenGuard;
class MatchServer;

// The server's UDP side: one ENet host on the server's port, run on the
// server's Asio loop. ENet is serviced when its socket becomes readable
// (the socket is watched through a posix descriptor, so a packet is relayed
// as soon as it arrives) but at most once a millisecond, since every pass
// of ENet visits all its peers; and every few milliseconds for ENet's own
// resends and pings. What is sent while handling a pass's events goes out
// in one flush after it.
class EnetEndpoint {
  public:
    static constexpr size_t kMaxPeers = 4000;  // ENet's own limit is 4095

    EnetEndpoint(boost::asio::io_context& io, MatchServer& server, std::function<uint64_t()> clock);
    ~EnetEndpoint();

    bool Open(const std::string& bindAddress, uint16_t port, std::string& error);
    void Start();
    // Disconnects everyone and sends the goodbyes.
    void Stop();
    // Sends what is queued once the current handler is done.
    void ScheduleFlush();

  private:
    size_t HalfOpen(const std::string& address) const;
    void FitPeers();
    void Watch();
    void Kick();
    void Pass();
    void Service();
    void Handle(const _ENetEvent& event, uint64_t now);
    void OnTimer();

    boost::asio::io_context& io;
    MatchServer& server;
    std::function<uint64_t()> clock;
    _ENetHost* host = nullptr;
    std::unique_ptr<HalfOpenGuard> halfOpen;
    boost::asio::posix::stream_descriptor socket;
    boost::asio::steady_timer timer;
    boost::asio::steady_timer passTimer;
    std::chrono::steady_clock::time_point lastPass;
    const _ENetPeer* admitting = nullptr;
    bool passPending = false;
    bool watching = false;
    bool stopped = false;
};

}  // namespace qx::server
