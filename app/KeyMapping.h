#pragma once

#include <QKeyEvent>
#include <Qt>

#include "game/GameInput.h"

// Turns Qt's key presses into the game's own keys with the default keys
// (KeyBindings::Defaults): both Enter keys give Enter; the keypad digits
// (Num Lock on) steer like the arrows, Home, End and Insert; with Num Lock
// off the keypad sends those navigation keys itself (its 9, 3 and 5 then
// send Page Up, Page Down and Clear, which the game ignores). Keys held with
// Alt belong to the menu and the window manager, not to the game.
class KeyMapping {
  public:
    static qx::GameKey ToGameKey(int qtKey, Qt::KeyboardModifiers modifiers);
    static qx::GameKey ToGameKey(const QKeyEvent& event) {
        return ToGameKey(event.key(), event.modifiers());
    }
};
