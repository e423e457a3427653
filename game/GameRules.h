#pragma once

#include "game/GameHost.h"
#include "game/GameInput.h"
#include "game/GameState.h"
#include "gfx/DrawSink.h"
#include "ships/Facing.h"

namespace qx {

// The rules of the game as steps on a GameState. Each step changes the state
// and sends what it draws, in order, to the sink (null: the step runs without
// drawing, as a re-run that is never shown does; the state and the generator
// change exactly as when drawing). The host is asked only for the modal
// windows and told when the game timer starts and stops.
class GameRules {
  public:
    GameRules(GameState& state, GameHost& host, DrawSink* sink)
        : state(state), host(host), sink(sink) {}

    // One tick of the game timer.
    void Tick();
    // One input between ticks.
    void Apply(const GameInput& input);
    // The full repaint: the whole scene drawn again. It also runs the hit
    // tests and picture steps that drawing always ran, so it changes the
    // state like a short tick does.
    void Repaint();
    // The New game command: both ships back at their bases, no wins, the
    // scene repainted, then the choice of players (asked of the host unless
    // given), and the timer running again.
    void NewGame(const std::optional<PlayerChoice>& made);

  private:
    Facing TurnShipsToFaceEachOther();
    void StepFlightAnimation(Facing facing);
    void SettleDestruction(Ship& loser, Ship& winner, Facing facing, const char* lastWords,
                           const char* epilogue);
    void MoveShips();
    void MoveMeteor();
    void DrawMovingObjects();
    void DrawShotsOf(Ship& ship);
    void DrawMeteorStep();
    void PressKey(GameKey key);

    GameState& state;
    GameHost& host;
    DrawSink* sink;
};

}  // namespace qx
