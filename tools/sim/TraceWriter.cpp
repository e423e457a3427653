#include "tools/sim/TraceWriter.h"

#include <sstream>

#include "common/Random.h"

namespace qx::sim {
namespace {

const char* Bool(bool value) {
    return value ? "true" : "false";
}

// Finds `picture` in a [2][n] table and names it "prefix R F".
template <size_t N>
std::string FindIn(const Surface (&table)[2][N], const Surface* picture, const char* prefix) {
    for (int row = 0; row < 2; ++row) {
        for (size_t col = 0; col < N; ++col) {
            if (&table[row][col] == picture) {
                return std::string(prefix) + std::to_string(row) + " " + std::to_string(col);
            }
        }
    }
    return {};
}

void WriteShots(std::ostream& out, const Ship& ship) {
    out << '[';
    for (int i = 0; i < Ship::kShotCount; ++i) {
        const Shot& s = ship.shots[i];
        out << (i ? "," : "") << '[' << s.x << ',' << s.y << ',' << s.prevX << ',' << s.prevY << ','
            << s.dx << ',' << s.dy << ',' << s.width << ',' << s.height << ']';
    }
    out << ']';
}

void WriteShip(std::ostream& out, const Ship& s) {
    out << "{\"x\":" << s.x << ",\"y\":" << s.y << ",\"prevX\":" << s.prevX
        << ",\"prevY\":" << s.prevY << ",\"targetX\":" << s.targetX << ",\"targetY\":" << s.targetY
        << ",\"shotDx\":" << s.shotDx << ",\"computer\":" << Bool(s.computer)
        << ",\"energy\":" << s.energy << ",\"wins\":" << s.wins << ",\"reload\":" << s.reload
        << ",\"moved\":" << Bool(s.moved) << ",\"fireRequest\":" << s.fireRequest
        << ",\"sprite\":\"" << SpriteName(s) << "\",\"mask\":\"" << MaskName(s) << "\",\"shots\":";
    WriteShots(out, s);
    out << '}';
}

void WriteMeteor(std::ostream& out, const Meteor& m) {
    out << "{\"x\":" << m.x << ",\"y\":" << m.y << ",\"prevX\":" << m.prevX
        << ",\"prevY\":" << m.prevY << ",\"dx\":" << m.dx << ",\"dy\":" << m.dy
        << ",\"hitsLeft\":" << m.hitsLeft << ",\"state\":" << static_cast<int>(m.state)
        << ",\"frame\":" << m.meteorFrame << ",\"frameTicks\":" << m.meteorFrameTicks << '}';
}

}  // namespace

std::string SpriteName(const Ship& ship) {
    std::string name = FindIn(ship.Sprites().shipSprites, ship.sprite, "ship ");
    if (name.empty()) name = FindIn(ship.Sprites().hitSprites, ship.sprite, "hit ");
    return name;
}

std::string MaskName(const Ship& ship) {
    return FindIn(ship.Sprites().shipMasks, ship.mask, "");
}

std::string TraceLine(int64_t tick, bool timerRunning, const Game& game) {
    std::ostringstream out;
    out << "{\"tick\":" << tick << ",\"rng\":" << RandomState()
        << ",\"timer\":" << Bool(timerRunning) << ",\"tickCounter\":" << game.TickCounter()
        << ",\"flightFrame\":" << game.FlightFrame() << ",\"emperor\":";
    WriteShip(out, game.emperor);
    out << ",\"rebel\":";
    WriteShip(out, game.rebel);
    out << ",\"meteor\":";
    WriteMeteor(out, game.meteor);
    out << '}';
    return out.str();
}

}  // namespace qx::sim
