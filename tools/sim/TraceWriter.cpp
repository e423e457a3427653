#include "tools/sim/TraceWriter.h"

#include <sstream>

namespace qx::sim {
namespace {

const char* Bool(bool value) {
    return value ? "true" : "false";
}

void WriteShots(std::ostream& out, const Ship& ship) {
    out << '[';
    for (int i = 0; i < Ship::kShotCount; ++i) {
        const Shot& s = ship.Shots()[i];
        out << (i ? "," : "") << '[' << s.x << ',' << s.y << ',' << s.prevX << ',' << s.prevY << ','
            << s.dx << ',' << s.dy << ',' << s.width << ',' << s.height << ']';
    }
    out << ']';
}

void WriteShip(std::ostream& out, const Ship& s) {
    out << "{\"x\":" << s.X() << ",\"y\":" << s.Y() << ",\"prevX\":" << s.PrevX()
        << ",\"prevY\":" << s.PrevY() << ",\"targetX\":" << s.TargetX()
        << ",\"targetY\":" << s.TargetY() << ",\"shotDx\":" << s.ShotDx()
        << ",\"computer\":" << Bool(s.Computer()) << ",\"energy\":" << s.Energy()
        << ",\"wins\":" << s.Wins() << ",\"reload\":" << s.Reload()
        << ",\"moved\":" << Bool(s.Moved())
        << ",\"fireRequest\":" << static_cast<int32_t>(s.FireRequest()) << ",\"sprite\":\""
        << SpriteName(s) << "\",\"mask\":\"" << MaskName(s) << "\",\"shots\":";
    WriteShots(out, s);
    out << '}';
}

void WriteMeteor(std::ostream& out, const Meteor& m) {
    out << "{\"x\":" << m.X() << ",\"y\":" << m.Y() << ",\"prevX\":" << m.PrevX()
        << ",\"prevY\":" << m.PrevY() << ",\"dx\":" << m.Dx() << ",\"dy\":" << m.Dy()
        << ",\"hitsLeft\":" << m.HitsLeft() << ",\"state\":" << static_cast<int>(m.State())
        << ",\"frame\":" << m.Frame() << ",\"frameTicks\":" << m.FrameTicks() << '}';
}

}  // namespace

std::string SpriteName(const Ship& ship) {
    const ShipLook& look = ship.Look();
    return std::string(look.hit ? "hit " : "ship ") + std::to_string(look.facing) + " " +
           std::to_string(look.index);
}

std::string MaskName(const Ship& ship) {
    const ShipLook& look = ship.Look();
    return std::to_string(look.maskFacing) + " " + std::to_string(look.maskFrame);
}

std::string TraceLine(int64_t tick, const GameState& state) {
    std::ostringstream out;
    out << "{\"tick\":" << tick << ",\"rng\":" << state.rng.State()
        << ",\"timer\":" << Bool(state.timerRunning) << ",\"tickCounter\":" << state.tickCounter
        << ",\"flightFrame\":" << state.flightFrame << ",\"emperor\":";
    WriteShip(out, state.emperor);
    out << ",\"rebel\":";
    WriteShip(out, state.rebel);
    out << ",\"meteor\":";
    WriteMeteor(out, state.meteor);
    out << '}';
    return out.str();
}

}  // namespace qx::sim
