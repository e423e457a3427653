#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "net/MatchProtocol.h"

namespace qx::server {

// Who a connection says it is: the player's name (checked and cleaned) and
// the hash of its secret key, never the key itself. Anonymous connections
// have neither; `readsNames` says the client understands the Names message.
struct PlayerIdentity {
    std::string name;
    std::string keyHash;  // 64 lowercase hex digits of SHA-256; empty: anonymous
    bool readsNames = false;
    bool rated = false;    // a rated room asked for (Create)
    bool refused = false;  // its name was refused: no request is taken from it

    bool Known() const { return !keyHash.empty(); }
    bool operator==(const PlayerIdentity&) const = default;
};

// The name as it may be shown: Unicode white space trimmed from both ends,
// in NFC, 1 to net::kMaxNameCharacters characters, none of them a control,
// format, separator other than the plain space, private-use, unassigned or
// otherwise invisible (default-ignorable) character. False with `why` set
// otherwise.
bool CleanName(const std::string& typed, std::string& clean, std::string& why);

// SHA-256 of the key as 64 lowercase hex digits.
std::string HashKey(const std::array<uint8_t, net::kKeySize>& key);

}  // namespace qx::server
