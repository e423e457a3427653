#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "net/MatchProtocol.h"

namespace qx::sim {

using PlayerKey = std::array<uint8_t, net::kKeySize>;

// A new random key (the system's random source).
bool MakePlayerKey(PlayerKey& key, std::string& error);

// The player's secret key from `path` (64 hex digits and a newline); a file
// that does not exist yet is made with a new key (mode 0600), as a client
// makes its key on its first online game.
bool LoadOrMakePlayerKey(const std::string& path, PlayerKey& key, std::string& error);

}  // namespace qx::sim
