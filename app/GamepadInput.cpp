#include "app/GamepadInput.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/Arena.h"
#include "game/GameInput.h"

namespace {

// Polled with the game's tick while a pad is attached; otherwise only
// often enough to notice a pad being plugged in.
constexpr int kPollWithPadsMs = 30;
constexpr int kPollWithoutPadsMs = 500;

constexpr double kAxisMax = 32767.0;
// The Rebel's stick steers once pushed past half way; the Emperor's aim
// ignores the stick's rest noise.
constexpr double kStickSteers = 0.5;
constexpr double kAimDeadZone = 0.2;
// Arena units per poll at full deflection: across the arena in about 1.5 s.
constexpr double kAimUnitsPerPoll = 12.0;
constexpr int kTriggerFires = 16000;

// The key for a direction given as dx, dy in -1..1: the arrows straight,
// the keypad's corners diagonally.
qx::GameKey DirectionKey(int dx, int dy) {
    using qx::GameKey;
    constexpr GameKey kKeys[3][3] = {
        {GameKey::UpLeft, GameKey::Up, GameKey::UpRight},
        {GameKey::Left, GameKey::None, GameKey::Right},
        {GameKey::DownLeft, GameKey::Down, GameKey::DownRight},
    };
    return kKeys[dy + 1][dx + 1];
}

double Axis(SDL_GameController* controller, SDL_GameControllerAxis axis) {
    return SDL_GameControllerGetAxis(controller, axis) / kAxisMax;
}

bool Held(SDL_GameController* controller, SDL_GameControllerButton button) {
    return SDL_GameControllerGetButton(controller, button) != 0;
}

}  // namespace

GamepadInput::GamepadInput(std::function<const qx::GameState&()> shown, QObject* parent)
    : QObject(parent), shownState(std::move(shown)) {
    // The window has the focus, not SDL; and SDL must not take over the
    // process's signals.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    available = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!available) return;
    connect(&timer, &QTimer::timeout, this, &GamepadInput::Poll);
    UpdatePollRate();
}

GamepadInput::~GamepadInput() {
    if (!available) return;
    for (Pad& pad : places) {
        if (pad.controller) SDL_GameControllerClose(pad.controller);
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

int GamepadInput::PadCount() const {
    return static_cast<int>(
        std::count_if(places.begin(), places.end(), [](const Pad& pad) { return pad.controller; }));
}

void GamepadInput::Poll() {
    if (!available) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_CONTROLLERDEVICEADDED) {
            Attach(event.cdevice.which);
        } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
            Detach(event.cdevice.which);
        } else if (event.type == SDL_CONTROLLERBUTTONDOWN) {
            if (Pad* pad = PadOf(event.cbutton.which)) OnButton(*pad, event.cbutton.button);
        }
    }
    if (accepts != Accepts::Everything) return;
    for (Pad& pad : places) {
        if (!pad.controller) continue;
        if (PlaysEmperor(pad)) {
            EmperorStick(pad);
            EmperorTriggers(pad);
        } else {
            RebelStick(pad);
        }
    }
}

// A new pad takes the first free place; a third one is not used.
void GamepadInput::Attach(int deviceIndex) {
    const int32_t id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (PadOf(id)) return;
    for (Pad& pad : places) {
        if (pad.controller) continue;
        pad = Pad{};
        pad.controller = SDL_GameControllerOpen(deviceIndex);
        if (pad.controller) pad.id = id;
        break;
    }
    UpdatePollRate();
}

void GamepadInput::Detach(int32_t id) {
    if (Pad* pad = PadOf(id)) {
        SDL_GameControllerClose(pad->controller);
        *pad = Pad{};
    }
    UpdatePollRate();
}

GamepadInput::Pad* GamepadInput::PadOf(int32_t id) {
    for (Pad& pad : places) {
        if (pad.controller && pad.id == id) return &pad;
    }
    return nullptr;
}

bool GamepadInput::PlaysEmperor(const Pad& pad) const {
    const bool first = &pad == &places[0];
    return first == firstPadEmperor;
}

void GamepadInput::OnButton(Pad& pad, int button) {
    emit ButtonPressed(button);
    if (button == SDL_CONTROLLER_BUTTON_START) {
        if (accepts != Accepts::Nothing) emit PauseRequested();
        return;
    }
    if (accepts != Accepts::Everything) return;
    if (PlaysEmperor(pad)) {
        EmperorButton(button);
    } else {
        RebelButton(pad, button);
    }
}

void GamepadInput::RebelButton(Pad& pad, int button) {
    using qx::GameKey;
    if (const GameKey action = keys->RebelPadAction(button); action != GameKey::None)
        return Send(qx::GameInput::Key(action));
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            if (const GameKey key = DpadDirection(pad); key != GameKey::None)
                Send(qx::GameInput::Key(key));
            return;
        default:
            return;
    }
}

void GamepadInput::EmperorButton(int button) {
    if (keys->EmperorFiresUp(button)) return Send(qx::GameInput::Key(qx::GameKey::Enter));
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            return Send(qx::GameInput::Fire(qx::Weapon::Forward));
        case SDL_CONTROLLER_BUTTON_B:
            return Send(qx::GameInput::Fire(qx::Weapon::Down));
        default:
            return;
    }
}

qx::GameKey GamepadInput::DpadDirection(const Pad& pad) const {
    SDL_GameController* c = pad.controller;
    const int dx =
        Held(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) - Held(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    const int dy =
        Held(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN) - Held(c, SDL_CONTROLLER_BUTTON_DPAD_UP);
    return DirectionKey(dx, dy);
}

// The stick presses a direction key when it enters a new direction, as a
// key press would; back at rest it presses nothing.
void GamepadInput::RebelStick(Pad& pad) {
    const double x = Axis(pad.controller, SDL_CONTROLLER_AXIS_LEFTX);
    const double y = Axis(pad.controller, SDL_CONTROLLER_AXIS_LEFTY);
    qx::GameKey key = qx::GameKey::None;
    if (std::hypot(x, y) >= kStickSteers) {
        // Eight sectors of 45 degrees, centred on the axes and diagonals.
        const double angle = std::atan2(y, x);
        const int sector = static_cast<int>(std::lround(angle / (std::numbers::pi / 4))) & 7;
        constexpr int kDx[8] = {1, 1, 0, -1, -1, -1, 0, 1};
        constexpr int kDy[8] = {0, 1, 1, 1, 0, -1, -1, -1};
        key = DirectionKey(kDx[sector], kDy[sector]);
    }
    if (key != pad.stickDirection && key != qx::GameKey::None) Send(qx::GameInput::Key(key));
    pad.stickDirection = key;
}

// The stick moves the target from where the Emperor aims now (the mouse
// may have put it there), at a speed that follows the deflection.
void GamepadInput::EmperorStick(Pad& pad) {
    const double x = Axis(pad.controller, SDL_CONTROLLER_AXIS_LEFTX);
    const double y = Axis(pad.controller, SDL_CONTROLLER_AXIS_LEFTY);
    if (std::hypot(x, y) < kAimDeadZone) {
        pad.stickAiming = false;
        return;
    }
    if (!pad.stickAiming) {
        const qx::Ship& emperor = shownState().emperor;
        pad.aimX = emperor.TargetX();
        pad.aimY = emperor.TargetY();
        pad.stickAiming = true;
    }
    pad.aimX = std::clamp(pad.aimX + x * kAimUnitsPerPoll, 0.0, qx::kArenaWidth - 1.0);
    pad.aimY = std::clamp(pad.aimY + y * kAimUnitsPerPoll, 0.0, qx::kArenaHeight - 1.0);
    SteerEmperor(static_cast<int>(std::lround(pad.aimX)), static_cast<int>(std::lround(pad.aimY)));
}

// A trigger fires once each time it is pulled past half way.
void GamepadInput::EmperorTriggers(Pad& pad) {
    const SDL_GameControllerAxis axes[2] = {SDL_CONTROLLER_AXIS_TRIGGERRIGHT,
                                            SDL_CONTROLLER_AXIS_TRIGGERLEFT};
    for (int i = 0; i < 2; ++i) {
        const bool pulled = SDL_GameControllerGetAxis(pad.controller, axes[i]) >= kTriggerFires;
        if (pulled && !pad.triggers[i]) {
            Send(qx::GameInput::Fire(i == 0 ? qx::Weapon::Forward : qx::Weapon::Down));
        }
        pad.triggers[i] = pulled;
    }
}

void GamepadInput::SteerEmperor(int32_t arenaX, int32_t arenaY) {
    Send(qx::GameInput::Target(arenaX, arenaY));
}

void GamepadInput::Send(const qx::GameInput& input) {
    emit Input(input);
}

void GamepadInput::UpdatePollRate() {
    timer.start(PadCount() > 0 ? kPollWithPadsMs : kPollWithoutPadsMs);
}
