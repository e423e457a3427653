#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "server/ServerLimits.h"
#include "server/TokenBucket.h"

namespace qx::server {

// What the server remembers per client address: its open game connections
// and HTTP connections,
// how many more unknown codes it may try (code guessing is throttled),
// rooms it may create and TLS handshakes it may start.
class AddressLimits {
  public:
    static constexpr size_t kMaxRefusing = 16;

    explicit AddressLimits(const ServerLimits& limits) : limits(limits) {}

    // Counts a new connection from `address`; false (not counted) when it
    // has as many as it may, counting `pending` connections of it that are
    // still in their handshake (not counted here) as well.
    bool Admit(const std::string& address, size_t pending = 0);
    void Release(const std::string& address);
    // The same for HTTP connections (not yet WebSockets), counted apart:
    // a browser holds several idle keep-alives besides its game.
    bool AdmitHttp(const std::string& address);
    void ReleaseHttp(const std::string& address);
    // HTTP connections past the limit that are answered (503) before they
    // close, a few at a time; past that they are closed unanswered.
    bool AdmitRefusal(const std::string& address);
    void ReleaseRefusal(const std::string& address);
    // Whether the address may look up a code now.
    bool MayLookUp(const std::string& address, uint64_t nowMs);
    // The address asked for a code that does not exist.
    void ChargeMiss(const std::string& address, uint64_t nowMs);
    // Takes one of the address's room creations (false: none left).
    bool TakeRoom(const std::string& address, uint64_t nowMs);
    // Takes one of the address's TLS handshakes (false: none left).
    bool TakeHandshake(const std::string& address, uint64_t nowMs);
    // Forgets addresses with nothing to remember.
    void Sweep(uint64_t nowMs);
    size_t Size() const { return entries.size(); }

  private:
    struct Entry {
        size_t connections = 0;
        size_t http = 0;
        size_t refusing = 0;
        TokenBucket guesses;
        TokenBucket rooms;
        TokenBucket handshakes;
    };
    Entry& At(const std::string& address);

    const ServerLimits& limits;
    std::unordered_map<std::string, Entry> entries;
};

}  // namespace qx::server
