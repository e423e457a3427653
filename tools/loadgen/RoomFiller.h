#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <cstdint>
#include <memory>
#include <vector>

#include "tools/loadgen/EnetClientHost.h"
#include "tools/loadgen/EnetLink.h"
#include "tools/loadgen/LoadOptions.h"

namespace qx::loadgen {

// An abuser the server must withstand: each of its connections creates a
// room and, with nobody joined, sends its own start and then inputs as
// large and as far ahead as the game's packets allow (32 ticks of 16
// steering targets each, about 120 KB/s, under the rate limits). A
// connection the server closes comes back, so the rooms keep filling for
// the given seconds.
class RoomFiller {
  public:
    RoomFiller(boost::asio::io_context& io, EnetClientHost& host, const LoadOptions& options);

    // Runs until the seconds are over; returns how many packets were sent.
    uint64_t Run();

  private:
    struct Abuser {
        std::unique_ptr<EnetLink> link;
        uint32_t tick = 0;
        bool started = false;
    };
    void Step(Abuser& abuser);
    void Tick();

    boost::asio::io_context& io;
    EnetClientHost& host;
    const LoadOptions& options;
    boost::asio::steady_timer timer;
    std::vector<Abuser> abusers;
    std::vector<uint8_t> received;
    uint64_t sent = 0;
    std::chrono::steady_clock::time_point end;
};

}  // namespace qx::loadgen
