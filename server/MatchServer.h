#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "net/MatchProtocol.h"
#include "net/Packet.h"
#include "server/AddressLimits.h"
#include "server/Connection.h"
#include "server/FinishedGame.h"
#include "server/Lobby.h"
#include "server/Metrics.h"
#include "server/QuickMatchQueue.h"
#include "server/RatingBook.h"
#include "server/RepeatedEvents.h"
#include "server/Room.h"
#include "server/SecureRandom.h"
#include "server/ServerLimits.h"

namespace qx::server {

// The match server's rules, whatever carries the frames: rooms and their
// invite codes, quick match, spectators, and the relay of the game's
// packets between a room's two players. A connection first sends one
// request (create, join, quick, watch) and gets one answer; a player's
// frames after that must be the game's packets, valid and its own side's,
// and go to the other player; a spectator may send nothing. Everything is
// checked before anything of it is used or passed on.
class MatchServer {
  public:
    MatchServer(const ServerLimits& limits, Metrics& metrics, SecureRandom& random,
                std::ostream& log);
    ~MatchServer();

    // The transports count their connections per address here (false: too
    // many from that address; refuse the connection). Connections still in
    // their handshake, which a transport reports through `pending`, count
    // as well, so half-open ones cannot keep other addresses out.
    bool AdmitAddress(const std::string& address);
    void CountPending(std::function<size_t(const std::string& address)> counter) {
        pending = std::move(counter);
    }
    // Whether the address may start one more TLS handshake now.
    bool TakeHandshake(const std::string& address, uint64_t nowMs) {
        return addresses.TakeHandshake(address, nowMs);
    }
    const ServerLimits& Limits() const { return limits; }
    void ReleaseAddress(const std::string& address) { addresses.Release(address); }
    bool AdmitHttp(const std::string& address) { return addresses.AdmitHttp(address); }
    void ReleaseHttp(const std::string& address) { addresses.ReleaseHttp(address); }
    bool AdmitRefusal(const std::string& address) { return addresses.AdmitRefusal(address); }
    void ReleaseRefusal(const std::string& address) { addresses.ReleaseRefusal(address); }

    void OnOpen(Connection& connection, uint64_t nowMs);
    void OnFrame(Connection& connection, const uint8_t* data, size_t size, uint64_t nowMs);
    // The connection is gone; the server forgets it before this returns.
    void OnClosed(Connection& connection, uint64_t nowMs);
    // Timeouts and spectators' feeds; call every few milliseconds.
    void Tick(uint64_t nowMs);
    // Tells everyone in a room that the server stops within `seconds`.
    void TellClosing(uint32_t seconds);
    // Closes every connection (the server is stopping).
    void CloseAll();

    // Where finished games go (the history); none: they are not kept.
    void SetGameSink(std::function<void(FinishedGame)> sink) { gameSink = std::move(sink); }

    size_t RoomCount() const { return rooms.size(); }
    const Room* FindRoom(const std::string& code) const;
    Lobby& GetLobby() { return lobby; }
    RatingBook& Ratings() { return ratings; }

  private:
    void OnRequest(Connection& c, const uint8_t* data, size_t size, uint64_t nowMs);
    void Create(Connection& c, const net::MatchMessage& request, bool quick, uint64_t nowMs);
    void Join(Connection& c, Room& room, uint64_t nowMs);
    void Quick(Connection& c, const net::MatchMessage& request, uint64_t nowMs);
    void Watch(Connection& c, Room& room);
    void Identify(Connection& c, const net::MatchMessage& request);
    PlayerIdentity IdentityOf(const Connection& c) const;
    void SendNames(const Room& room, Connection& c);
    void KeepGame(Room& room, const char* ending);
    Room* LookUp(Connection& c, const std::string& code, uint64_t nowMs);
    void OnPlayerFrame(Connection& c, const uint8_t* data, size_t size, uint64_t nowMs);
    bool AcceptGamePacket(Connection& c, Room& room, const net::Packet& packet);
    void Refuse(Connection& c, net::MatchError error);
    void Bad(Connection& c);
    void Answer(Connection& c, const net::MatchMessage& message);
    void SetRole(Connection& c, Role role);
    void CloseConnection(Connection& c);
    void LeaveRoom(Connection& c);
    void FeedSpectators(Room& room);
    bool FeedOne(Room& room, Spectator& spectator, uint32_t through);
    void CheckTimeouts(uint64_t nowMs);
    void EndRoom(Room& room, const char* why);
    std::string NewCode();
    void LogRoom(const Room& room, const std::string& event);

    const ServerLimits& limits;
    Metrics& metrics;
    SecureRandom& random;
    std::ostream& log;
    AddressLimits addresses;
    RepeatedEvents repeated;
    std::function<size_t(const std::string&)> pending;
    std::unordered_map<std::string, std::unique_ptr<Room>> rooms;
    QuickMatchQueue quickQueue;
    Lobby lobby;
    RatingBook ratings;
    std::unordered_set<Room*> watched;  // rooms with spectators
    std::vector<Room*> feeding;
    std::unordered_set<Connection*> connections;
    std::unordered_map<const Connection*, PlayerIdentity> identities;
    std::function<void(FinishedGame)> gameSink;
    uint64_t lastSweep = 0;
    uint64_t now = 0;  // the time of the event being handled
};

}  // namespace qx::server
