#include "tools/sim/VirtualKeys.h"

namespace qx::sim {
namespace {

constexpr int kNumpad0 = 96;

// The keypad digits laid out as the directions they steer to.
constexpr GameKey kKeypad[10] = {
    GameKey::Stop, GameKey::DownLeft, GameKey::Down,   GameKey::DownRight, GameKey::Left,
    GameKey::None, GameKey::Right,    GameKey::UpLeft, GameKey::Up,        GameKey::UpRight,
};

}  // namespace

GameKey GameKeyForVirtualKey(int virtualKey) {
    if (virtualKey >= kNumpad0 && virtualKey < kNumpad0 + 10) return kKeypad[virtualKey - kNumpad0];
    switch (virtualKey) {
        case 13:
            return GameKey::Enter;
        case 32:
            return GameKey::Space;
        case 35:
            return GameKey::DownLeft;  // End
        case 36:
            return GameKey::UpLeft;  // Home
        case 37:
            return GameKey::Left;
        case 38:
            return GameKey::Up;
        case 39:
            return GameKey::Right;
        case 40:
            return GameKey::Down;
        case 45:
            return GameKey::Stop;  // Insert
        case 67:
            return GameKey::C;
        case 88:
            return GameKey::X;
        default:
            return GameKey::None;
    }
}

int VirtualKeyForGameKey(GameKey key) {
    switch (key) {
        case GameKey::None:
            return 0;
        case GameKey::Space:
            return 32;
        case GameKey::X:
            return 88;
        case GameKey::C:
            return 67;
        case GameKey::Enter:
            return 13;
        case GameKey::UpLeft:
            return 36;  // Home
        case GameKey::Up:
            return 38;
        case GameKey::UpRight:
            return kNumpad0 + 9;
        case GameKey::Left:
            return 37;
        case GameKey::Stop:
            return 45;  // Insert
        case GameKey::Right:
            return 39;
        case GameKey::DownLeft:
            return 35;  // End
        case GameKey::Down:
            return 40;
        case GameKey::DownRight:
            return kNumpad0 + 3;
    }
    return 0;
}

}  // namespace qx::sim
