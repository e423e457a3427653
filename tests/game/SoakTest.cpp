// Long runs of the whole game with its invariants checked after every tick:
// computer against computer, and a person pressing keys and buttons at random
// against the computer through several whole games.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

#include "common/Random.h"
#include "game/Game.h"
#include "tests/game/FakeHost.h"

namespace qx {
namespace {

// QUARNEX_SOAK_TICKS in the environment shortens or lengthens the
// computer-against-computer run.
int SoakTicks() {
    const char* text = std::getenv("QUARNEX_SOAK_TICKS");
    const int ticks = text ? std::atoi(text) : 0;
    return ticks > 0 ? ticks : 500000;
}
// A random player loses a game to the computer in about 400 ticks.
constexpr int kPlayedTicks = 30000;

// Appends a complaint to `out` when `ok` is false.
void Require(bool ok, const char* what, std::string& out) {
    if (!ok) out += std::string(what) + "; ";
}

bool PointsInto(const Surface* p, const Surface* table, int n) {
    return p >= table && p < table + n;
}

void CheckShot(const Shot& s, std::string& out) {
    if (!s.IsActive()) return;
    // Shots are removed well before x 700: off the sides, at the top and at
    // the ground. A shot on the screen was drawn where it is.
    Require(s.x > -30 && s.x < 630, "shot x out of play", out);
    Require(s.y > 40 && s.y < 370, "shot y out of play", out);
    Require(s.prevX == s.x && s.prevY == s.y, "shot not drawn where it is", out);
    Require((s.dx == 0) != (s.dy == 0), "shot step", out);
}

void CheckShip(const Ship& ship, std::string& out) {
    Require(ship.reload >= 0 && ship.reload <= 3, "reload", out);
    Require(ship.energy <= 500 && ship.energy >= -62, "energy", out);
    Require(ship.fireRequest == 0, "fireRequest after update", out);
    Require(ship.x >= 43 && ship.x <= 557, "ship x", out);
    Require(ship.y >= 49 && ship.y <= 383, "ship y", out);
    const ShipSpriteSet& set = ship.Sprites();
    Require(PointsInto(ship.sprite, &set.shipSprites[0][0], 2 * ShipSpriteSet::kFrames) ||
                PointsInto(ship.sprite, &set.hitSprites[0][0], 2 * ShipSpriteSet::kVariants),
            "sprite", out);
    Require(PointsInto(ship.mask, &set.shipMasks[0][0], 2 * ShipSpriteSet::kFrames), "mask", out);
    for (const Shot& s : ship.shots) CheckShot(s, out);
}

std::string CheckGame(const Game& game) {
    std::string out;
    CheckShip(game.emperor, out);
    CheckShip(game.rebel, out);
    Require(game.TickCounter() >= 0 && game.TickCounter() <= 100, "tickCounter", out);
    Require(game.FlightFrame() >= 0 && game.FlightFrame() <= 2, "flightFrame", out);
    const Meteor& m = game.meteor;
    Require(m.meteorFrame >= 0 && m.meteorFrame <= 8, "meteor frame", out);
    Require(m.state == MeteorState::Flying, "meteor state after its draw", out);
    Require(m.hitsLeft <= 5, "meteor hitsLeft", out);
    Require(m.x >= -16 && m.x <= 615 && m.y >= 50 && m.y <= 378, "meteor place", out);
    return out;
}

// Energy falls during a round; it rises only when the ship is reset after
// its explosion has run out, which a win for the other side comes with (or
// by a new game).
class RoundWatch {
  public:
    explicit RoundWatch(const Game& game) : game(game) { Remember(); }
    std::string Check(int64_t endsOfGame) {
        std::string out;
        const bool newGame = endsOfGame != lastEnds;
        CheckSide(game.emperor, game.rebel, energy[0], wins[1], newGame, out);
        CheckSide(game.rebel, game.emperor, energy[1], wins[0], newGame, out);
        lastEnds = endsOfGame;
        Remember();
        return out;
    }
    int64_t Rounds() const { return rounds; }

  private:
    void CheckSide(const Ship& ship, const Ship& other, int32_t before, int32_t otherWinsBefore,
                   bool newGame, std::string& out) {
        // (The reset ship may already be hit again in the tick that reset it.)
        if (ship.energy > before) {
            Require(before < -60 || newGame, "energy rose before the explosion ran out", out);
            Require(newGame || other.wins == otherWinsBefore + 1, "energy rose without a win", out);
        }
        if (!newGame) Require(other.wins >= otherWinsBefore, "wins fell", out);
        if (other.wins > otherWinsBefore) rounds += other.wins - otherWinsBefore;
    }
    void Remember() {
        energy[0] = game.emperor.energy;
        energy[1] = game.rebel.energy;
        wins[0] = game.emperor.wins;
        wins[1] = game.rebel.wins;
    }
    const Game& game;
    int32_t energy[2] = {};
    int32_t wins[2] = {};
    int64_t lastEnds = 0;
    int64_t rounds = 0;
};

TEST(Soak, ComputerAgainstComputerKeepsItsInvariants) {
    test::FakeHost host;
    RandomSeed(1);
    Game game(host);
    RandomSeed(20240601);
    test::StartUp(game, host, true, true, 600, 400);
    RoundWatch watch(game);
    const int ticks = SoakTicks();
    for (int tick = 1; tick <= ticks; ++tick) {
        game.OnTimer();
        const std::string problems = CheckGame(game) + watch.Check(host.EndsOfGame());
        ASSERT_TRUE(problems.empty()) << "tick " << tick << ": " << problems;
    }
    EXPECT_EQ(host.EndsOfGame(), 0);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_GT(watch.Rounds(), 50);
    EXPECT_GT(game.emperor.wins + game.rebel.wins, 3);
}

// A person who moves the mouse and presses buttons and keys at random.
class RandomPlayer {
  public:
    explicit RandomPlayer(uint32_t seed) : engine(seed) {}
    void Act(Game& game, int width, int height) {
        const int roll = Below(100);
        if (roll < 25) {
            game.OnMouseMove(Below(width + 40) - 20, Below(height + 40) - 20);
        } else if (roll < 32) {
            game.OnLButtonDown();
        } else if (roll < 37) {
            game.OnRButtonDown();
        } else if (roll < 60) {
            static constexpr int kKeys[] = {13,  32,  67,  88,  33,  34, 35, 36, 37,
                                            38,  39,  40,  45,  96,  97, 98, 99, 100,
                                            101, 102, 103, 104, 105, 65, 27};
            game.OnKeyDown(kKeys[Below(static_cast<int>(std::size(kKeys)))]);
        } else if (roll == 60 && Below(20) == 0) {
            game.OnPaint();
        }
    }
    int Below(int n) { return static_cast<int>(engine() % static_cast<uint32_t>(n)); }

  private:
    std::mt19937 engine;
};

void PlayAgainstComputer(bool emperorComputer, bool rebelComputer, uint32_t seed) {
    test::FakeHost host;
    RandomSeed(1);
    Game game(host);
    RandomSeed(seed);
    test::StartUp(game, host, emperorComputer, rebelComputer, 600, 400);
    RandomPlayer player(seed);
    RoundWatch watch(game);
    int width = 600, height = 400;
    for (int tick = 1; tick <= kPlayedTicks; ++tick) {
        player.Act(game, width, height);
        if (tick % 5000 == 0) {  // the window is resized now and then
            width = width == 600 ? 800 : 600;
            height = height == 400 ? 450 : 400;
            game.OnSize(width, height);
            game.OnPaint();
        }
        game.OnTimer();
        const std::string problems = CheckGame(game) + watch.Check(host.EndsOfGame());
        ASSERT_TRUE(problems.empty()) << "tick " << tick << ": " << problems;
        ASSERT_TRUE(host.timerRunning);
    }
    EXPECT_GE(host.EndsOfGame(), 3);
    EXPECT_EQ(host.captions.size(), host.dialogOpenedWith.size());
    for (const PlayerChoice& c : host.dialogOpenedWith) {
        EXPECT_EQ(c.emperorHuman, !emperorComputer);
        EXPECT_EQ(c.rebelHuman, !rebelComputer);
    }
}

TEST(Soak, RandomMouseAgainstTheComputerPlaysWholeGames) {
    PlayAgainstComputer(false, true, 7);
}

TEST(Soak, RandomKeysAgainstTheComputerPlayWholeGames) {
    PlayAgainstComputer(true, false, 8);
}

// The same seed and the same input give the same game, tick by tick.
std::string RunToText(uint32_t seed, int ticks) {
    test::FakeHost host;
    RandomSeed(1);
    Game game(host);
    RandomSeed(seed);
    test::StartUp(game, host, false, true, 600, 400);
    RandomPlayer player(seed);
    std::ostringstream text;
    for (int tick = 1; tick <= ticks; ++tick) {
        player.Act(game, 600, 400);
        game.OnTimer();
        text << game.emperor.x << ' ' << game.emperor.y << ' ' << game.emperor.energy << ' '
             << game.rebel.x << ' ' << game.rebel.y << ' ' << game.rebel.energy << ' '
             << game.meteor.x << ' ' << game.meteor.y << ' ' << RandomState() << '\n';
    }
    uint64_t sum = 0;
    for (int y = 0; y < game.Screen().Height(); ++y) {
        for (int x = 0; x < game.Screen().Width(); ++x) sum = sum * 31 + game.Screen().Pixel(x, y);
    }
    text << sum;
    return text.str();
}

TEST(Soak, SameSeedAndInputGiveTheSameGame) {
    const std::string first = RunToText(99, 20000);
    EXPECT_EQ(RunToText(99, 20000), first);
    EXPECT_NE(RunToText(100, 20000), first);
}

}  // namespace
}  // namespace qx
