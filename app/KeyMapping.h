#pragma once

#include <QKeyEvent>
#include <Qt>

// Turns Qt's key presses into the Windows virtual-key codes the game's
// keyboard handler understands. Both Enter keys give 13; the keypad digits
// (Num Lock on) give 96..105; with Num Lock off the keypad sends the
// navigation keys, which map like the main ones. Keys held with Alt belong to
// the menu and the window manager, not to the game.
class KeyMapping {
  public:
    static constexpr int kNone = 0;

    static int ToVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);
    static int ToVirtualKey(const QKeyEvent& event) {
        return ToVirtualKey(event.key(), event.modifiers());
    }

  private:
    static int KeypadKey(int qtKey);
    static int MainKey(int qtKey);
};
