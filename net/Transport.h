#pragma once

#include <cstdint>
#include <vector>

namespace qx::net {

enum class LinkEvent { None, Connected, Received, Disconnected };

// The connection to the other machine as the network game sees it: whole
// datagrams, either best-effort (inputs, sent again in later packets until
// acknowledged) or reliable (the hello, start and bye messages).
class Transport {
  public:
    virtual ~Transport() = default;

    // The next event without waiting; a Received event fills `data`.
    virtual LinkEvent Poll(std::vector<uint8_t>& data) = 0;
    virtual void Send(const std::vector<uint8_t>& data, bool reliable) = 0;
    // Waits up to `ms` milliseconds for something to arrive (kept for Poll).
    virtual void Wait(uint32_t ms) = 0;
    // Leaves the connection, sending what is queued first, waiting at most
    // `lingerMs` for that.
    virtual void Close(uint32_t lingerMs) = 0;

    // Bytes sent and received, with the transport's own headers.
    virtual uint64_t BytesSent() const = 0;
    virtual uint64_t BytesReceived() const = 0;
    // Datagrams refused before they were read (too long for any message).
    virtual uint64_t Oversized() const = 0;
};

}  // namespace qx::net
