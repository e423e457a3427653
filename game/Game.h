#pragma once

#include <cstdint>
#include <vector>

#include "common/Arena.h"
#include "game/GameHost.h"
#include "game/GameInput.h"
#include "game/GameObserver.h"
#include "game/GameState.h"
#include "game/SceneRenderer.h"
#include "game/StepInputs.h"
#include "gfx/Surface.h"

namespace qx {

// The game as a window owns it: the state, the client-sized screen the game
// draws on and the renderer that draws there. The host sends its inputs
// through Apply, runs Tick on its timer while the game does not wait, and
// shows Screen() after each of them. When the game waits (State().wait) the
// host shows the window the wait names and sends its answer as an input.
class Game {
  public:
    static constexpr uint32_t kTimerId = 5;
    static constexpr int kTimerPeriodMs = 30;

    Game() { renderer.SetTarget(&screen); }
    // A host whose windows block until answered: whenever the game comes to
    // wait, the host's window is shown at once and its answer applied (also
    // reported to the observer), and the host's timer is stopped and started
    // around it.
    explicit Game(GameHost& windows) : Game() { host = &windows; }
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Starts the game as the program does (see GameState::Start) and the
    // host's timer.
    void Start(uint32_t seed, PlayerChoice players);

    // Window events.
    void OnSize(int32_t width, int32_t height);  // client size in pixels
    void OnPaint();                              // the full repaint
    void OnTimer();                              // one game tick
    void OnMouseMove(int32_t x, int32_t y);      // client pixels
    void OnLButtonDown();
    void OnRButtonDown();  // right and middle button
    void OnKeyDown(GameKey key);
    void OnGameNew();  // menu "Nova"

    // One input, drawn on the screen.
    void Apply(const GameInput& input);
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
    void AskHost();

    GameHost* host = nullptr;
    bool asking = false;  // a blocking window of the host is open
    GameObserver* observer = nullptr;
    GameState state;
    SceneRenderer renderer;
    Rect clientRect;
    Surface screen;
};

}  // namespace qx
