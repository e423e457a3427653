#pragma once

#include <cstdint>
#include <vector>

namespace qx::net {

enum class LinkEvent { None, Connected, Received, Disconnected };

// Why a connection closed; a Disconnected event's data holds it as its one
// byte. The other machine sends it when it closes the connection itself;
// Lost is the link giving up on a machine that stopped answering.
enum class LinkClose : uint8_t {
    Lost = 0,
    Left = 1,          // the other machine closed the connection
    Full = 2,          // the host already plays with another machine
    OtherVersion = 3,  // the other machine speaks another version of the messages
};

// The reason a Disconnected event's data carries (Lost for anything unknown).
inline LinkClose CloseReasonOf(const std::vector<uint8_t>& data) {
    if (data.size() != 1 || data[0] > static_cast<uint8_t>(LinkClose::OtherVersion)) {
        return LinkClose::Lost;
    }
    return static_cast<LinkClose>(data[0]);
}

// The connection to the other machine as the network game sees it: whole
// datagrams, either best-effort (inputs, sent again in later packets until
// acknowledged) or reliable (the hello, start and bye messages).
class Transport {
  public:
    virtual ~Transport() = default;

    // The next event without waiting; a Received event fills `data` with the
    // datagram, a Disconnected one with the LinkClose reason.
    virtual LinkEvent Poll(std::vector<uint8_t>& data) = 0;
    virtual void Send(const std::vector<uint8_t>& data, bool reliable) = 0;
    // Waits up to `ms` milliseconds for something to arrive (kept for Poll).
    virtual void Wait(uint32_t ms) = 0;
    // Leaves the connection (the other machine learns LinkClose::Left),
    // sending what is queued first, waiting at most `lingerMs` for that.
    virtual void Close(uint32_t lingerMs) = 0;

    // Bytes sent and received, with the transport's own headers.
    virtual uint64_t BytesSent() const = 0;
    virtual uint64_t BytesReceived() const = 0;
    // Datagrams refused before they were read (too long for any message).
    virtual uint64_t Oversized() const = 0;
};

}  // namespace qx::net
