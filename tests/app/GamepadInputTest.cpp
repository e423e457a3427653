#include <gtest/gtest.h>

#include <QSignalSpy>

#include "VirtualPad.h"
#include "app/GamepadInput.h"
#include "game/Game.h"
#include "tests/support/StateEditor.h"

using qx::Ship;
using qx::Weapon;

namespace {

class GamepadInputTest : public testing::Test {
  protected:
    void SetUp() override {
        QObject::connect(&pads, &GamepadInput::Input,
                         [this](const qx::GameInput& input) { game.Apply(input); });
        game.Start(1, {true, true});
        game.SetClientSize(800, 600);
        ASSERT_TRUE(pads.Available());
    }

    const Ship& Rebel() { return game.State().rebel; }
    const Ship& Emperor() { return game.State().emperor; }
    std::pair<int, int> Target(const Ship& ship) { return {ship.TargetX(), ship.TargetY()}; }
    // Puts the ships where a case needs them, with no weapon asked for.
    void Place(int rebelX, int rebelY, int emperorTargetX, int emperorTargetY) {
        qx::GameState state = game.State();
        qx::ShipEditor(state.rebel).At(rebelX, rebelY);
        qx::ShipEditor(state.emperor).Target(emperorTargetX, emperorTargetY);
        state.rebel.RequestFire(Weapon::None);
        state.emperor.RequestFire(Weapon::None);
        game.Restore(state);
    }

    // Lets SDL see what the virtual pads did and the pads act on it.
    void Poll(int times = 1) {
        for (int i = 0; i < times; ++i) pads.Poll();
    }

    void Press(VirtualPad& pad, SDL_GameControllerButton button) {
        pad.Set(button, true);
        Poll();
        pad.Set(button, false);
        Poll();
    }

    qx::Game game;
    GamepadInput pads{[this]() -> const qx::GameState& { return game.State(); }};
};

}  // namespace

TEST_F(GamepadInputTest, TheFirstPadPlaysTheRebelLikeTheKeyboard) {
    VirtualPad pad;
    ASSERT_TRUE(pad.Attached());
    Poll();
    ASSERT_EQ(pads.PadCount(), 1);
    const std::pair<SDL_GameControllerButton, Weapon> weapons[] = {
        {SDL_CONTROLLER_BUTTON_A, Weapon::Forward},
        {SDL_CONTROLLER_BUTTON_B, Weapon::Down},
        {SDL_CONTROLLER_BUTTON_X, Weapon::Up}};
    for (const auto& [button, weapon] : weapons) {
        Place(300, 150, 0, 0);
        Press(pad, button);
        EXPECT_EQ(Rebel().FireRequest(), weapon) << button;
    }
    Press(pad, SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_EQ(Target(Rebel()), std::pair(300, Ship::kMinY));
    // Up and right held together steer to the top right corner.
    pad.Set(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    Press(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    EXPECT_EQ(Target(Rebel()), std::pair(Ship::kMaxX, Ship::kMinY));
    pad.Set(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    Press(pad, SDL_CONTROLLER_BUTTON_Y);
    EXPECT_EQ(Target(Rebel()), std::pair(300, 150));
    // The stick: down and left of half way steers to the bottom left.
    pad.Set(SDL_CONTROLLER_AXIS_LEFTX, -30000);
    pad.Set(SDL_CONTROLLER_AXIS_LEFTY, 30000);
    Poll();
    EXPECT_EQ(Target(Rebel()), std::pair(Ship::kMinX, Ship::kMaxY));
    EXPECT_EQ(Emperor().FireRequest(), Weapon::None);
}

TEST_F(GamepadInputTest, TheSecondPadAimsAndFiresForTheEmperor) {
    VirtualPad rebelPad, emperorPad;
    Poll();
    ASSERT_EQ(pads.PadCount(), 2);
    Place(300, 150, 100, 200);
    emperorPad.Set(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    Poll(10);
    EXPECT_EQ(Target(Emperor()), std::pair(220, 200));
    emperorPad.Set(SDL_CONTROLLER_AXIS_LEFTX, 0);
    emperorPad.Set(SDL_CONTROLLER_AXIS_LEFTY, -32767);
    Poll(100);
    EXPECT_EQ(Target(Emperor()), std::pair(220, 0));  // the aim stays in the arena
    emperorPad.Set(SDL_CONTROLLER_AXIS_LEFTY, 0);

    emperorPad.Set(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    Poll();
    EXPECT_EQ(Emperor().FireRequest(), Weapon::Forward);
    Place(300, 150, 0, 0);
    Poll();  // held: no second shot
    EXPECT_EQ(Emperor().FireRequest(), Weapon::None);
    emperorPad.Set(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    Poll();
    EXPECT_EQ(Emperor().FireRequest(), Weapon::Down);
    Press(emperorPad, SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    EXPECT_EQ(Emperor().FireRequest(), Weapon::Up);
    EXPECT_EQ(Rebel().FireRequest(), Weapon::None);
}

TEST_F(GamepadInputTest, PadsComeAndGoAndKeepTheirPlaces) {
    auto first = std::make_unique<VirtualPad>();
    VirtualPad second;
    Poll();
    ASSERT_EQ(pads.PadCount(), 2);
    first.reset();
    Poll();
    EXPECT_EQ(pads.PadCount(), 1);
    // The remaining pad still plays the Emperor.
    Place(300, 150, 0, 0);
    Press(second, SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(Emperor().FireRequest(), Weapon::Forward);
    EXPECT_EQ(Rebel().FireRequest(), Weapon::None);
    // A pad plugged in now takes the free first place: the Rebel.
    VirtualPad third;
    Poll();
    Press(third, SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(Rebel().FireRequest(), Weapon::Forward);
    // Swapped in the New game dialog: the first pad plays the Emperor.
    pads.SetFirstPadPlaysEmperor(true);
    Place(300, 150, 0, 0);
    Press(third, SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(Emperor().FireRequest(), Weapon::Down);
    EXPECT_EQ(Rebel().FireRequest(), Weapon::None);
}

TEST_F(GamepadInputTest, StartAsksForAPauseAndBlockedPadsDoNothingElse) {
    VirtualPad pad;
    Poll();
    QSignalSpy pause(&pads, &GamepadInput::PauseRequested);
    Press(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(pause.count(), 1);
    pads.SetAccepts(GamepadInput::Accepts::PauseOnly);
    Place(300, 150, 0, 0);
    Press(pad, SDL_CONTROLLER_BUTTON_A);
    Press(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(Rebel().FireRequest(), Weapon::None);
    EXPECT_EQ(pause.count(), 2);
    pads.SetAccepts(GamepadInput::Accepts::Nothing);  // a modal window is open
    Press(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(pause.count(), 2);
}
