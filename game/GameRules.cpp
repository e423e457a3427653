#include "game/GameRules.h"

#include "game/Combat.h"
#include "meteor/MeteorDrawing.h"
#include "panel/EnergyPanel.h"
#include "ships/ShipDrawing.h"

namespace qx {

// One tick, phase by phase. The order is the game's and every phase may draw
// from the generator, so none may move.
void GameRules::Tick() {
    // The timer stands still while a window waits for its answer.
    if (state.wait.Waiting()) return;
    // Facing: whoever is further left looks right. Sets both ships' forward
    // shot direction; nothing else.
    const Facing facing = TurnShipsToFaceEachOther();
    // Flight animation: every fifth tick both ships show the next of their
    // three flight frames. Changes the counters and the ships' pictures.
    StepFlightAnimation(facing);
    RunTickFrom(Stage::EmperorLost, facing);
}

// The rest of a tick from one of its phases on. A finished game stops it
// (the state then waits) and the answer to the New game dialog takes it up
// again after the phase that stopped.
void GameRules::RunTickFrom(Stage stage, Facing facing) {
    // Explosions and scoring: a ship at 0 energy or below shows its next
    // explosion frame; once the explosion has run out the other side wins the
    // round. The third win ends the game: the tick stops here until the
    // end-of-game box is closed and the New game dialog answered. Otherwise
    // the loser starts again at its base. Redraws the gauges and runs the
    // hit tests.
    if (stage == Stage::EmperorLost &&
        !SettleDestruction(state.emperor, state.rebel, facing, Stage::EmperorLost)) {
        return;
    }
    if (stage != Stage::Movement &&
        !SettleDestruction(state.rebel, state.emperor, facing, Stage::RebelLost)) {
        return;
    }
    // Movement: the pilots (the computer draws new destinations), the steps,
    // reload, the shots' flight and firing. The Rebel moves after the
    // Emperor and sees his new place.
    MoveShips();
    // Meteor: one step of its fall, or a new rock when it is gone (the old
    // one is erased).
    MoveMeteor();
    // Hits: shots and the rock against both ships; erases what was struck,
    // redraws the gauges when energy was lost.
    ResolveCombat(state, sink, false);
    // Drawing: shots, meteor and ships at their new places. Notes where each
    // shot was drawn and takes the meteor's picture steps (a struck rock
    // shows a random hit picture), so it runs even when nothing is shown.
    DrawMovingObjects();
}

void GameRules::Apply(const GameInput& input) {
    Ship& emperor = state.emperor;
    const bool waiting = state.wait.Waiting();
    switch (input.kind) {
        case InputKind::Target:
            if (!waiting && !emperor.Computer()) emperor.SetTarget(input.x, input.y);
            break;
        case InputKind::Fire:
            if (!waiting && !emperor.Computer()) emperor.RequestFire(input.weapon);
            break;
        case InputKind::Key:
            if (!waiting) PressKey(input.key);
            break;
        case InputKind::NewGame:
            if (!waiting) NewGame(input.choice);
            break;
        case InputKind::Repaint:
            Repaint();
            break;
        case InputKind::EndOfGameClosed:
            if (state.wait.what == WaitFor::EndOfGameBox) CloseEndOfGame();
            break;
        case InputKind::PlayersChosen:
            if (state.wait.what == WaitFor::NewGameChoice) ChoosePlayers(input.choice);
            break;
    }
}

void GameRules::PressKey(GameKey key) {
    if (key == GameKey::Enter && !state.emperor.Computer()) state.emperor.RequestFire(Weapon::Up);
    Ship& r = state.rebel;
    if (r.Computer()) return;
    switch (key) {
        case GameKey::Space:
            return r.RequestFire(Weapon::Forward);
        case GameKey::C:
            return r.RequestFire(Weapon::Up);
        case GameKey::X:
            return r.RequestFire(Weapon::Down);
        case GameKey::UpLeft:
            return r.SetTarget(Ship::kMinX, Ship::kMinY);
        case GameKey::Up:
            return r.SetTarget(r.X(), Ship::kMinY);
        case GameKey::UpRight:
            return r.SetTarget(Ship::kMaxX, Ship::kMinY);
        case GameKey::Left:
            return r.SetTarget(Ship::kMinX, r.Y());
        case GameKey::Stop:
            return r.SetTarget(r.X(), r.Y());
        case GameKey::Right:
            return r.SetTarget(Ship::kMaxX, r.Y());
        case GameKey::DownLeft:
            return r.SetTarget(Ship::kMinX, Ship::kMaxY);
        case GameKey::Down:
            return r.SetTarget(r.X(), Ship::kMaxY);
        case GameKey::DownRight:
            return r.SetTarget(Ship::kMaxX, Ship::kMaxY);
        case GameKey::None:
        case GameKey::Enter:
            return;
    }
}

void GameRules::Repaint() {
    if (sink) sink->Draw(DrawOp::Backdrop());
    DrawMovingObjects();
    if (sink) EnergyPanel::DrawPanels(*sink);
    ResolveCombat(state, sink, true);
}

void GameRules::NewGame(const std::optional<PlayerChoice>& made) {
    ClearTheField();
    if (made) {
        ChoosePlayers(made);
        return;
    }
    state.wait = GameWait{};
    state.wait.what = WaitFor::NewGameChoice;
}

// The first half of New game: both ships back at their bases, no wins, the
// scene repainted and the timer stopped while the players are chosen.
void GameRules::ClearTheField() {
    state.emperor.Reset();
    state.rebel.Reset();
    state.emperor.ClearWins();
    state.rebel.ClearWins();
    Repaint();
    state.timerRunning = false;
}

// The end-of-game box is followed by the New game dialog, still inside the
// tick that ended the game.
void GameRules::CloseEndOfGame() {
    ClearTheField();
    state.wait.what = WaitFor::NewGameChoice;
}

// Closing the dialog without OK resumes the game with the choice as it was.
// A tick that a finished game interrupted then goes on after the phase that
// stopped it.
void GameRules::ChoosePlayers(const std::optional<PlayerChoice>& chosen) {
    if (chosen) {
        state.emperor.SetComputer(!chosen->emperorHuman);
        state.rebel.SetComputer(!chosen->rebelHuman);
    }
    state.timerRunning = true;
    const GameWait done = state.wait;
    state.wait = GameWait{};
    if (done.resume == ResumeAt::NoTick) return;
    FinishSettling();
    RunTickFrom(done.resume == ResumeAt::AfterEmperorLost ? Stage::RebelLost : Stage::Movement,
                done.facing);
}

Facing GameRules::TurnShipsToFaceEachOther() {
    const bool emperorOnLeft = state.emperor.X() < state.rebel.X();
    state.emperor.FaceShots(emperorOnLeft ? +10 : -10);
    state.rebel.FaceShots(emperorOnLeft ? -10 : +10);
    return emperorOnLeft ? Facing::EmperorLeft : Facing::EmperorRight;
}

void GameRules::StepFlightAnimation(Facing facing) {
    if (++state.tickCounter > 100) state.tickCounter = 0;
    if (state.tickCounter % 5 != 0) return;
    if (++state.flightFrame > 2) state.flightFrame = 0;
    state.emperor.ShowFrame(facing, state.flightFrame);
    state.rebel.ShowFrame(facing, state.flightFrame);
}

// Returns false when the third win ended the game: the state then waits for
// the end-of-game box and the tick stops.
bool GameRules::SettleDestruction(Ship& loser, Ship& winner, Facing facing, Stage stage) {
    if (loser.Energy() > 0) return true;
    if (loser.Energy() >= -60) {
        loser.StepExplosion(facing);
        return true;
    }
    winner.AddWin();
    if (winner.Wins() >= 3 && !(state.emperor.Computer() && state.rebel.Computer())) {
        state.timerRunning = false;
        state.wait.what = WaitFor::EndOfGameBox;
        state.wait.resume =
            stage == Stage::EmperorLost ? ResumeAt::AfterEmperorLost : ResumeAt::AfterRebelLost;
        state.wait.loser = loser.GetSide();
        state.wait.facing = facing;
        return false;
    }
    loser.Reset();
    FinishSettling();
    return true;
}

void GameRules::FinishSettling() {
    if (sink) EnergyPanel::DrawPanels(*sink);
    ResolveCombat(state, sink, true);
}

void GameRules::MoveShips() {
    state.emperor.Update(state.rebel.X(), state.rebel.Y(), state.rng);
    state.rebel.Update(state.emperor.X(), state.emperor.Y(), state.rng);
}

void GameRules::MoveMeteor() {
    const std::optional<Box> gone = state.meteor.Move(state.rng);
    if (gone && sink) sink->Draw(DrawOp::Erase(*gone));
}

void GameRules::DrawMovingObjects() {
    DrawShotsOf(state.emperor);
    DrawShotsOf(state.rebel);
    DrawMeteorStep();
    if (sink) {
        DrawShip(state.emperor, *sink);
        DrawShip(state.rebel, *sink);
    }
}

void GameRules::DrawShotsOf(Ship& ship) {
    if (sink) DrawShots(ship, *sink);
    ship.MarkShotsDrawn();
}

void GameRules::DrawMeteorStep() {
    state.meteor.ChoosePicture(state.rng);
    if (sink) DrawMeteor(state.meteor, *sink);
    state.meteor.AdvancePicture();
}

}  // namespace qx
