#pragma once

#include <cstdint>
#include <optional>

#include "game/PlayerChoice.h"
#include "ships/Weapon.h"

namespace qx {

// The keys the Rebel's player (and the Emperor's Enter) can press, as the
// game knows them. Hosts map their platform's keys onto these: the arrows,
// Home, End and Insert and the keypad digits steer toward the edges of the
// flight area (Stop holds the ship where it is).
enum class GameKey : uint8_t {
    None = 0,
    Space,  // the Rebel's forward shot
    X,      // the Rebel's downward shot
    C,      // the Rebel's upward shot
    Enter,  // the Emperor's upward shot
    UpLeft,
    Up,
    UpRight,
    Left,
    Stop,
    Right,
    DownLeft,
    Down,
    DownRight,
};

enum class InputKind : uint8_t {
    Target,   // the Emperor steers toward (x, y), in arena units
    Fire,     // the Emperor's mouse buttons: `weapon`
    Key,      // a key press: `key`
    NewGame,  // the New game command
    Repaint,  // the whole window must be drawn again
    // The answers to what the game waits for (GameState::wait):
    EndOfGameClosed,  // the player closed the end-of-game box
    PlayersChosen,    // the New game dialog closed: with OK and `choice`, or cancelled
};

// One input the game takes between ticks, at the game's own level: no window
// coordinates and no platform key codes. While the game waits for a window
// (see GameWait) it takes only that window's answer and repaints.
struct GameInput {
    InputKind kind = InputKind::Repaint;
    int32_t x = 0;
    int32_t y = 0;
    Weapon weapon = Weapon::None;
    GameKey key = GameKey::None;
    // New game: the choice of players already made (a script, the other
    // machine); without it the game waits for the New game dialog.
    // PlayersChosen: the dialog's choice; none when it was cancelled.
    std::optional<PlayerChoice> choice;

    bool operator==(const GameInput&) const = default;

    static GameInput Target(int32_t ax, int32_t ay) {
        GameInput in;
        in.kind = InputKind::Target;
        in.x = ax;
        in.y = ay;
        return in;
    }
    static GameInput Fire(Weapon w) {
        GameInput in;
        in.kind = InputKind::Fire;
        in.weapon = w;
        return in;
    }
    static GameInput Key(GameKey k) {
        GameInput in;
        in.kind = InputKind::Key;
        in.key = k;
        return in;
    }
    static GameInput NewGame(std::optional<PlayerChoice> made = std::nullopt) {
        GameInput in;
        in.kind = InputKind::NewGame;
        in.choice = made;
        return in;
    }
    static GameInput Repaint() { return GameInput{}; }
    static GameInput EndOfGameClosed() {
        GameInput in;
        in.kind = InputKind::EndOfGameClosed;
        return in;
    }
    // `chosen` empty: the dialog was closed without OK.
    static GameInput PlayersChosen(std::optional<PlayerChoice> chosen) {
        GameInput in;
        in.kind = InputKind::PlayersChosen;
        in.choice = chosen;
        return in;
    }
    bool IsAnswer() const {
        return kind == InputKind::EndOfGameClosed || kind == InputKind::PlayersChosen;
    }
};

}  // namespace qx
