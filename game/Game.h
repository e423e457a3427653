#pragma once

#include <cstdint>
#include <vector>

#include "common/Arena.h"
#include "game/GameInput.h"
#include "game/GameObserver.h"
#include "game/GameState.h"
#include "game/SceneRenderer.h"
#include "game/StepInputs.h"
#include "gfx/Surface.h"

namespace qx {

// The game as a window owns it: the state, the client-sized screen the game
// draws on and the renderer that draws there. The host sends its inputs
// through Apply, runs Tick on its 30 ms timer while the game does not wait,
// and shows Screen() after each of them. When the game waits (Waiting(),
// State().wait) the host shows the window the wait names, keeps its timer
// still, and sends the window's answer as an input when it closes.
class Game {
  public:
    static constexpr int kTimerPeriodMs = 30;

    Game() { renderer.SetTarget(&screen); }
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Starts the game as the program does (see GameState::Start).
    void Start(uint32_t seed, PlayerChoice players);

    // The client area's size in pixels; the screen follows it.
    void SetClientSize(int32_t width, int32_t height);

    // One input, drawn on the screen.
    void Apply(const GameInput& input);
    // The window's full repaint, which the rules take as an input.
    void Repaint() { Apply(GameInput::Repaint()); }
    // One tick, drawn on the screen (nothing while the game waits).
    void Tick();
    // One step of a host's loop: inputs, the tick, the answers after it.
    void Step(const StepInputs& step);
    bool Waiting() const { return state.wait.Waiting(); }
    // Puts another state in place (a snapshot, a replay's start) without
    // drawing; ShowState() then shows it.
    void Restore(const GameState& snapshot) { state = snapshot; }
    // Draws the whole scene from the state alone, changing nothing.
    void ShowState();

    const GameState& State() const { return state; }
    const Surface& Screen() const { return screen; }
    // The client-pixel rectangles of the screen written since the last call.
    std::vector<Box> TakeScreenWrites() { return screen.TakeWrites(); }
    Rect ClientRect() const { return clientRect; }
    int32_t TickCounter() const { return state.tickCounter; }
    // Reports every start, input and tick from now on (null: none).
    void SetObserver(GameObserver* watcher) { observer = watcher; }

  private:
    GameObserver* observer = nullptr;
    GameState state;
    SceneRenderer renderer;
    Rect clientRect;
    Surface screen;
};

}  // namespace qx
