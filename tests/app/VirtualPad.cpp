#include "VirtualPad.h"

namespace {

// The buttons up to the d-pad, in SDL's game controller order.
constexpr int kButtons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;

}  // namespace

VirtualPad::VirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = kButtons;
    desc.name = "Quarnex test pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index >= 0) joystick = SDL_JoystickOpen(index);
}

VirtualPad::~VirtualPad() {
    Detach();
}

void VirtualPad::Detach() {
    if (!joystick) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    SDL_JoystickClose(joystick);
    joystick = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
}

void VirtualPad::Set(SDL_GameControllerButton button, bool down) {
    SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0);
}

void VirtualPad::Set(SDL_GameControllerAxis axis, int16_t value) {
    SDL_JoystickSetVirtualAxis(joystick, axis, value);
}
