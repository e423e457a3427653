#include "app/KeyMapping.h"

#include <array>
#include <utility>

using qx::GameKey;

namespace {

constexpr std::array<std::pair<int, GameKey>, 13> kMainKeys{{
    {Qt::Key_Return, GameKey::Enter},
    {Qt::Key_Enter, GameKey::Enter},
    {Qt::Key_Space, GameKey::Space},
    {Qt::Key_X, GameKey::X},
    {Qt::Key_C, GameKey::C},
    {Qt::Key_Home, GameKey::UpLeft},
    {Qt::Key_Up, GameKey::Up},
    {Qt::Key_Left, GameKey::Left},
    {Qt::Key_Insert, GameKey::Stop},
    {Qt::Key_Right, GameKey::Right},
    {Qt::Key_End, GameKey::DownLeft},
    {Qt::Key_Down, GameKey::Down},
    {Qt::Key_unknown, GameKey::None},
}};

// The keypad digits laid out as the directions they steer to.
constexpr GameKey kKeypadDigits[10] = {
    GameKey::Stop, GameKey::DownLeft, GameKey::Down,   GameKey::DownRight, GameKey::Left,
    GameKey::None, GameKey::Right,    GameKey::UpLeft, GameKey::Up,        GameKey::UpRight,
};

}  // namespace

GameKey KeyMapping::ToGameKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::AltModifier) return GameKey::None;
    if (modifiers & Qt::KeypadModifier) return KeypadKey(qtKey);
    return MainKey(qtKey);
}

GameKey KeyMapping::KeypadKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return kKeypadDigits[qtKey - Qt::Key_0];
    return MainKey(qtKey);
}

GameKey KeyMapping::MainKey(int qtKey) {
    for (const auto& [key, gameKey] : kMainKeys) {
        if (key == qtKey) return gameKey;
    }
    return GameKey::None;
}
