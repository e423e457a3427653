#pragma once

#include <cstdint>
#include <string>

#include "common/Random.h"
#include "game/GameWait.h"
#include "game/PlayerChoice.h"
#include "meteor/Meteor.h"
#include "ships/Ship.h"

namespace qx {

// Everything the game's rules read and write, as one plain value: both ships
// with their shots, the meteor, the generator, the tick counters, whether
// the game timer runs and what the game waits for. Nothing in it points anywhere, so a snapshot is
// a copy and restoring it is an assignment. Pictures, the screen and the window belong to the hosts
// and renderers, never to the state.
struct GameState {
    Random rng;
    Ship emperor{Side::Emperor};
    Ship rebel{Side::Rebel};
    Meteor meteor;
    int32_t tickCounter = 0;  // 0..100, for the flight animation
    int32_t flightFrame = 0;  // 0..2
    bool timerRunning = false;
    // What the game waits for (a window's answer), and where the tick it
    // interrupted goes on.
    GameWait wait;

    // The game as a program starts it: the first meteor is drawn from the
    // generator's start state (so it is the same in every run), then the
    // generator is seeded with `seed`; the players as stored; every shot slot
    // free; the timer running.
    static GameState Start(uint32_t seed, PlayerChoice players);

    bool operator==(const GameState&) const = default;
};

// Calls visit(object, shot, field, value) for every field of the state in a
// fixed order: the generator, the counters and the timer; then the Emperor
// and the Rebel (position, target, weapons, energy, picture, then their five
// shots with shot = 0..4); then the meteor; then the wait (what, resume,
// loser, facing). `shot` is -1 outside the shots.
// This order is the checksum's and must never change.
template <class Visit>
void VisitFields(const GameState& state, Visit&& visit);

// A 64-bit FNV-1a hash over the fields in VisitFields order, each taken as a
// 64-bit two's complement word: the same on every platform and compiler.
uint64_t Checksum(const GameState& state);

// The checksum as it was before the state recorded what the game waits for
// (the wait's fields left out): what replays of format version 1 carry.
uint64_t ChecksumWithoutWait(const GameState& state);

// Names the first field in which two states differ ("rebel.shots[2].x: 120
// != 130"), or an empty text when they are equal.
std::string FirstDifference(const GameState& a, const GameState& b);

// The checksum as 16 lower-case hex digits.
std::string ChecksumHex(uint64_t checksum);

}  // namespace qx

#include "game/GameStateFields.h"
