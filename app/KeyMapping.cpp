#include "app/KeyMapping.h"

#include <array>
#include <utility>

#include "game/VirtualKeys.h"

namespace {

// Keys whose codes do not follow from a range of Qt's key values.
constexpr std::array<std::pair<int, int>, 25> kNamedKeys{{
    {Qt::Key_Backspace, 8},
    {Qt::Key_Tab, 9},
    {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},
    {Qt::Key_Return, qx::vk::kReturn},
    {Qt::Key_Enter, qx::vk::kReturn},
    {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},
    {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},
    {Qt::Key_Space, qx::vk::kSpace},
    {Qt::Key_PageUp, qx::vk::kPageUp},
    {Qt::Key_PageDown, qx::vk::kPageDown},
    {Qt::Key_End, qx::vk::kEnd},
    {Qt::Key_Home, qx::vk::kHome},
    {Qt::Key_Left, qx::vk::kLeft},
    {Qt::Key_Up, qx::vk::kUp},
    {Qt::Key_Right, qx::vk::kRight},
    {Qt::Key_Down, qx::vk::kDown},
    {Qt::Key_Print, 44},
    {Qt::Key_Insert, qx::vk::kInsert},
    {Qt::Key_Delete, 46},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
}};

// Keypad keys other than the digits and the navigation keys.
constexpr std::array<std::pair<int, int>, 7> kKeypadOperators{{
    {Qt::Key_Asterisk, 106},
    {Qt::Key_Plus, 107},
    {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},
    {Qt::Key_Comma, 110},
    {Qt::Key_Slash, 111},
    {Qt::Key_Enter, qx::vk::kReturn},
}};

template <size_t N>
int Lookup(const std::array<std::pair<int, int>, N>& table, int qtKey) {
    for (const auto& [key, code] : table) {
        if (key == qtKey) return code;
    }
    return KeyMapping::kNone;
}

}  // namespace

int KeyMapping::ToVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::AltModifier) return kNone;
    if (modifiers & Qt::KeypadModifier) return KeypadKey(qtKey);
    return MainKey(qtKey);
}

int KeyMapping::KeypadKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qx::vk::kNumpad0 + (qtKey - Qt::Key_0);
    const int code = Lookup(kKeypadOperators, qtKey);
    return code != kNone ? code : MainKey(qtKey);
}

int KeyMapping::MainKey(int qtKey) {
    // Qt's letters and digits carry the same values as the virtual keys.
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 112 + (qtKey - Qt::Key_F1);
    return Lookup(kNamedKeys, qtKey);
}
