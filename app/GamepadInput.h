#pragma once

#include <QObject>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>

#include "app/KeyBindings.h"
#include "game/GameInput.h"
#include "game/GameState.h"

struct _SDL_GameController;

// Gamepads for either side, through SDL's game controller subsystem (only
// that one: no SDL window, no SDL video). Pad events become the game's own
// inputs, the ones the mouse and the keyboard give:
// - the Rebel: d-pad and left stick as the arrow keys (and their diagonals,
//   as the keypad's corners), A, B, X as Space, X and C, Y as Stop (Insert),
//   or the buttons the player chose for those (KeyBindings);
// - the Emperor: the left stick moves the steering target through the
//   arena as the mouse places it; right trigger, right shoulder and A fire
//   forward, left trigger and B downward, left shoulder and X upward (or the
//   button chosen for that).
// Start on either pad asks for a pause. The first pad attached plays the
// Rebel and the second the Emperor, or the other way round; pads may come
// and go at any time, and a pad keeps its place while it stays.
class GamepadInput : public QObject {
    Q_OBJECT

  public:
    // What the window lets the pads do now.
    enum class Accepts { Everything, PauseOnly, Nothing };

    // `shownState` gives the state of the game the player sees (where the
    // Emperor aims when a stick starts to steer).
    explicit GamepadInput(std::function<const qx::GameState&()> shownState,
                          QObject* parent = nullptr);
    ~GamepadInput() override;
    GamepadInput(const GamepadInput&) = delete;
    GamepadInput& operator=(const GamepadInput&) = delete;

    // Whether SDL's game controller subsystem started.
    bool Available() const { return available; }
    int PadCount() const;
    bool FirstPadPlaysEmperor() const { return firstPadEmperor; }
    void SetFirstPadPlaysEmperor(bool emperor) { firstPadEmperor = emperor; }
    void SetAccepts(Accepts what) { accepts = what; }
    // The player's own buttons (the defaults until set); kept by the caller.
    void SetKeyBindings(const KeyBindings& bindings) { keys = &bindings; }

    // Reads what the pads did since the last call and passes it on; runs
    // from its own timer, and directly from tests.
    void Poll();

    // Points the Emperor's steering target at an arena position, as a mouse
    // move over the client area does.
    void SteerEmperor(int32_t arenaX, int32_t arenaY);

  signals:
    // What the pads did, as the game's inputs.
    void Input(const qx::GameInput& input);
    void PauseRequested();
    // Any button went down on any pad, whatever the window lets the pads do
    // (the controls page listens for the button a player chooses).
    void ButtonPressed(int button);

  private:
    struct Pad {
        _SDL_GameController* controller = nullptr;
        int32_t id = -1;
        qx::GameKey stickDirection = qx::GameKey::None;  // the Rebel's last stick key
        bool stickAiming = false;
        double aimX = 0, aimY = 0;  // the Emperor's target in arena units
        std::array<bool, 2> triggers{};
    };

    void Attach(int deviceIndex);
    void Detach(int32_t id);
    Pad* PadOf(int32_t id);
    bool PlaysEmperor(const Pad& pad) const;
    void OnButton(Pad& pad, int button);
    void RebelButton(Pad& pad, int button);
    void EmperorButton(int button);
    void RebelStick(Pad& pad);
    void EmperorStick(Pad& pad);
    void EmperorTriggers(Pad& pad);
    qx::GameKey DpadDirection(const Pad& pad) const;
    void UpdatePollRate();
    void Send(const qx::GameInput& input);

    std::function<const qx::GameState&()> shownState;
    bool available = false;
    bool firstPadEmperor = false;
    Accepts accepts = Accepts::Everything;
    const KeyBindings* keys = &KeyBindings::Defaults();
    std::array<Pad, 2> places;
    QTimer timer;
};
