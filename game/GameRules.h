#pragma once

#include <optional>

#include "game/GameInput.h"
#include "game/GameState.h"
#include "gfx/DrawSink.h"
#include "ships/Facing.h"

namespace qx {

// The rules of the game as steps on a GameState. Each step changes the state
// and sends what it draws, in order, to the sink (null: the step runs without
// drawing, as a re-run that is never shown does; the state and the generator
// change exactly as when drawing). Nothing here waits: where the game needs a
// player's answer (the end-of-game box, the New game dialog) the step records
// the wait in the state and returns; the answer comes later as an input and
// the interrupted step goes on from where it stopped.
class GameRules {
  public:
    GameRules(GameState& state, DrawSink* sink) : state(state), sink(sink) {}

    // One tick of the game timer; nothing while the game waits.
    void Tick();
    // One input between ticks. While the game waits it takes only the answer
    // it waits for and repaints; other inputs are ignored (a modal window
    // has them).
    void Apply(const GameInput& input);
    // The full repaint: the whole scene drawn again. It also runs the hit
    // tests and picture steps that drawing always ran, so it changes the
    // state like a short tick does.
    void Repaint();
    // The New game command: both ships back at their bases, no wins, the
    // scene repainted, then the choice of players (waited for unless given),
    // and the timer running again.
    void NewGame(const std::optional<PlayerChoice>& made);

  private:
    enum class Stage { EmperorLost, RebelLost, Movement };

    void RunTickFrom(Stage stage, Facing facing);
    Facing TurnShipsToFaceEachOther();
    void StepFlightAnimation(Facing facing);
    bool SettleDestruction(Ship& loser, Ship& winner, Facing facing, Stage stage);
    void FinishSettling();
    void ClearTheField();
    void CloseEndOfGame();
    void ChoosePlayers(const std::optional<PlayerChoice>& chosen);
    void MoveShips();
    void MoveMeteor();
    void DrawMovingObjects();
    void DrawShotsOf(Ship& ship);
    void DrawMeteorStep();
    void PressKey(GameKey key);

    GameState& state;
    DrawSink* sink;
};

}  // namespace qx
