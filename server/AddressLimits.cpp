#include "server/AddressLimits.h"

namespace qx::server {

AddressLimits::Entry& AddressLimits::At(const std::string& address) {
    auto it = entries.find(address);
    if (it == entries.end()) {
        it =
            entries
                .emplace(address, Entry{0, TokenBucket(limits.guessesPerSecond, limits.guessBurst)})
                .first;
    }
    return it->second;
}

bool AddressLimits::Admit(const std::string& address, size_t pending) {
    Entry& entry = At(address);
    if (entry.connections + pending >= limits.maxConnectionsPerAddress) return false;
    ++entry.connections;
    return true;
}

void AddressLimits::Release(const std::string& address) {
    auto it = entries.find(address);
    if (it != entries.end() && it->second.connections > 0) --it->second.connections;
}

bool AddressLimits::MayLookUp(const std::string& address, uint64_t nowMs) {
    return At(address).guesses.Has(nowMs);
}

void AddressLimits::ChargeMiss(const std::string& address, uint64_t nowMs) {
    At(address).guesses.Take(nowMs);
}

void AddressLimits::Sweep(uint64_t nowMs) {
    for (auto it = entries.begin(); it != entries.end();) {
        if (it->second.connections == 0 && it->second.guesses.Full(nowMs)) {
            it = entries.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace qx::server
