#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <chrono>
#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

#include "tools/loadgen/EnetClientHost.h"
#include "tools/loadgen/LoadOptions.h"
#include "tools/loadgen/LoadPlayer.h"

namespace qx::loadgen {

// The load test: N games of two simulated players against one server, all
// in one thread. Game i's creator uses ENet and its joiner WebSocket when i
// is even, the other way round when odd: half the players on each, every
// game a cross-play (or all over one transport, when asked). Games are set
// up at up to 2,000 a second; once all run, both players of each game send
// an input packet every 30 ms for the given seconds, then the stragglers
// get a second to arrive. The figures: packets received, the relay time of
// each (sent by one player, through the server, received by the other) at
// the 50th and 99th percentile, and the packets lost; with the server's
// process id also its CPU (and CPU per relayed packet) and memory.
class LoadGen {
  public:
    explicit LoadGen(const LoadOptions& options);
    ~LoadGen();

    // Runs the test and writes the figures; 0 when every game ran and
    // nothing was lost.
    int Run(std::ostream& out);

  private:
    struct Game {
        std::unique_ptr<LoadPlayer> host;
        std::unique_ptr<LoadPlayer> guest;
        std::unique_ptr<boost::asio::steady_timer> timer;
        bool ticking = false;
    };

    // Whether game `index`'s creator (or joiner) plays over WebSocket.
    bool OverWebSocket(size_t index, bool creator) const;
    uint64_t Micros() const;
    void Setup();
    void StartGame(size_t index);
    void Advance(Game& game);
    void Tick(Game& game);
    void Housekeep();
    void Record(uint64_t micros);
    void Finish();

    LoadOptions options;
    boost::asio::io_context io;
    std::unique_ptr<EnetClientHost> enetHost;
    boost::asio::steady_timer setupTimer;
    boost::asio::steady_timer houseTimer;
    boost::asio::steady_timer phaseTimer;
    std::chrono::steady_clock::time_point epoch;
    std::vector<Game> games;
    size_t started = 0;
    bool measuring = false;
    bool sending = true;
    std::vector<uint32_t> histogram;  // 10 microsecond bins
    uint64_t measured = 0;
};

}  // namespace qx::loadgen
