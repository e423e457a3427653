#pragma once

#include <SDL.h>

// A game controller that exists only in SDL (its virtual joystick driver),
// for testing the gamepad code without a device. SDL's game controller
// subsystem must be running (a GamepadInput starts it).
class VirtualPad {
  public:
    VirtualPad();
    ~VirtualPad();
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool Attached() const { return joystick != nullptr; }
    void Detach();
    void Set(SDL_GameControllerButton button, bool down);
    void Set(SDL_GameControllerAxis axis, int16_t value);

  private:
    SDL_Joystick* joystick = nullptr;
};
