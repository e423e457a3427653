#pragma once

#include <QCoreApplication>
#include <QString>
#include <Qt>
#include <array>
#include <map>

#include "game/GameInput.h"

class QSettings;

// One key of the keyboard: Qt's key code and whether it is on the keypad.
struct BoundKey {
    int code = 0;
    bool keypad = false;
    bool operator==(const BoundKey&) const = default;
};

// Which key, and which gamepad button, gives each of the game's keys: the
// Rebel's nine moves and three shots and the Emperor's upward shot. The
// defaults are the game's own keys; with a default, its other keys still
// work as ever (the keypad digits with Num Lock on steer, the keypad sends
// the arrows, Home, End and Insert with it off, both Enter keys fire up).
// Keys held with Alt belong to the menu and the window manager, not to the
// game. Pad buttons can be chosen for the Rebel's shots and stop and the
// Emperor's upward shot; the pads steer with the stick and the d-pad.
class KeyBindings {
    Q_DECLARE_TR_FUNCTIONS(KeyBindings)

  public:
    static constexpr int kNoButton = -1;
    // The game's keys in the order the controls page lists them.
    static constexpr std::array<qx::GameKey, 13> kActions{
        qx::GameKey::Up,     qx::GameKey::Down,    qx::GameKey::Left,     qx::GameKey::Right,
        qx::GameKey::UpLeft, qx::GameKey::UpRight, qx::GameKey::DownLeft, qx::GameKey::DownRight,
        qx::GameKey::Stop,   qx::GameKey::Space,   qx::GameKey::X,        qx::GameKey::C,
        qx::GameKey::Enter};

    static const KeyBindings& Defaults();

    BoundKey Key(qx::GameKey action) const;
    int PadButton(qx::GameKey action) const;
    static bool HasPadButton(qx::GameKey action);
    bool IsDefault(qx::GameKey action) const;

    // Puts `action` on `key` (or `button`) unless that is taken or cannot be
    // used; returns "" when done, otherwise the words saying why not.
    QString AssignKey(qx::GameKey action, BoundKey key);
    QString AssignPadButton(qx::GameKey action, int button);

    // The game's key for a key press (None for keys the game does not take).
    qx::GameKey ToGameKey(int qtKey, Qt::KeyboardModifiers modifiers) const;
    // The Rebel's pad: the action of a button other than the d-pad and
    // Start (None when it has none).
    qx::GameKey RebelPadAction(int button) const;
    // The Emperor's pad: whether the button fires upward.
    bool EmperorFiresUp(int button) const;

    // The settings: group "Klavesy" holds the keys ("Num+9", "Space"),
    // group "Gamepad" the buttons (SDL's names: "a", "leftshoulder").
    // Only choices that differ from the defaults are written; unreadable or
    // clashing entries leave the defaults.
    void Save(QSettings& store) const;
    static KeyBindings Load(const QSettings& store);

    static QString ActionName(qx::GameKey action);
    static QString KeyName(BoundKey key);
    static QString PadButtonName(int button);
    static QString SettingsName(qx::GameKey action);

    bool operator==(const KeyBindings&) const = default;

  private:
    qx::GameKey KeyUser(BoundKey key) const;
    qx::GameKey DefaultAlias(int qtKey, bool keypad) const;

    std::map<qx::GameKey, BoundKey> keys;
    std::map<qx::GameKey, int> buttons;
};
