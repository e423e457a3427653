#include "server/AddressLimits.h"

#include <algorithm>

namespace qx::server {

// An address may create as many rooms at once as it may hold game
// connections (each room needs its creator there), at least the limits'
// burst, and then one a room's interval.
namespace {
double RoomBurst(const ServerLimits& limits) {
    return std::max(limits.roomBurst, static_cast<double>(limits.maxConnectionsPerAddress));
}
}  // namespace

AddressLimits::Entry& AddressLimits::At(const std::string& address) {
    auto it = entries.find(address);
    if (it == entries.end()) {
        it = entries
                 .emplace(
                     address,
                     Entry{0, 0, 0, TokenBucket(limits.guessesPerSecond, limits.guessBurst),
                           TokenBucket(limits.roomsPerSecond, RoomBurst(limits)),
                           TokenBucket(limits.tlsHandshakesPerSecond, limits.tlsHandshakeBurst)})
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

bool AddressLimits::AdmitHttp(const std::string& address) {
    Entry& entry = At(address);
    if (entry.http >= limits.maxHttpPerAddress) return false;
    ++entry.http;
    return true;
}

void AddressLimits::ReleaseHttp(const std::string& address) {
    auto it = entries.find(address);
    if (it != entries.end() && it->second.http > 0) --it->second.http;
}

bool AddressLimits::AdmitRefusal(const std::string& address) {
    Entry& entry = At(address);
    if (entry.refusing >= kMaxRefusing) return false;
    ++entry.refusing;
    return true;
}

void AddressLimits::ReleaseRefusal(const std::string& address) {
    auto it = entries.find(address);
    if (it != entries.end() && it->second.refusing > 0) --it->second.refusing;
}

bool AddressLimits::MayLookUp(const std::string& address, uint64_t nowMs) {
    return At(address).guesses.Has(nowMs);
}

void AddressLimits::ChargeMiss(const std::string& address, uint64_t nowMs) {
    At(address).guesses.Take(nowMs);
}

bool AddressLimits::TakeRoom(const std::string& address, uint64_t nowMs) {
    return At(address).rooms.Take(nowMs);
}

bool AddressLimits::TakeHandshake(const std::string& address, uint64_t nowMs) {
    return At(address).handshakes.Take(nowMs);
}

void AddressLimits::Sweep(uint64_t nowMs) {
    for (auto it = entries.begin(); it != entries.end();) {
        Entry& e = it->second;
        if (e.connections == 0 && e.http == 0 && e.refusing == 0 && e.guesses.Full(nowMs) &&
            e.rooms.Full(nowMs) && e.handshakes.Full(nowMs)) {
            it = entries.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace qx::server
