#pragma once

#include <cstddef>
#include <cstdint>

namespace qx::server {

// The match server's limits; the defaults suit one small machine on the
// internet (the load test and the tests raise the per-address ones, since
// all their clients come from 127.0.0.1).
struct ServerLimits {
    size_t maxRooms = 2000;
    // Sized for some 50 players behind one address (a household, a school,
    // a mobile carrier): their game connections (ENet and WebSocket) and,
    // apart, their HTTP connections (a browser keeps several alive after
    // loading the page; the idle ones give way to new ones).
    size_t maxConnectionsPerAddress = 64;
    size_t maxHttpPerAddress = 64;
    // Looking up a code that does not exist costs a token; an address gets
    // kGuessBurst and one back every 1 / guessesPerSecond seconds, so
    // guessing a 40-bit code takes centuries.
    double guessesPerSecond = 0.2;
    double guessBurst = 10;
    // Rooms an address may create: a burst (at least its game connections),
    // then one every 2 seconds (a game lasts minutes). Past it Create
    // answers throttled.
    double roomsPerSecond = 0.5;
    double roomBurst = 20;
    // TLS handshakes an address may start (each costs the server about a
    // millisecond of a core): browsers open a few connections per page.
    double tlsHandshakesPerSecond = 20;
    double tlsHandshakeBurst = 60;
    uint64_t lobbyTimeoutMs = 10'000;   // a connection must ask for a room within this
    uint64_t playerSilenceMs = 20'000;  // a player silent this long is let go
    uint64_t waitingRoomMs = 600'000;   // a room waits this long for its second player
    uint64_t idleRoomMs = 60'000;       // a room where nobody sends anything ends
    uint32_t maxBadFrames = 16;         // a connection sending more bad frames is closed
    // A room records inputs for no tick later than its wall clock allows:
    // this many ticks a second since the game's start (the game ticks every
    // 30 ms, 33.3 a second) plus the slack (input delay, a start that
    // reached the server late). A game ahead of that is relayed, not
    // recorded.
    uint32_t ticksPerSecond = 34;
    uint32_t tickSlack = 100;
    uint32_t spectatorLagTicks = 33;         // spectators follow about a second behind
    size_t maxSpectatorBacklog = 16 * 1024;  // a spectator's queued bytes before its feed waits
    uint64_t spectatorFlushMs = 60'000;      // after a game, how long its spectators may lag
};

}  // namespace qx::server
