#pragma once

#include <QObject>

#include "app/GameView.h"
#include "game/Game.h"

// Plays `game` in `view` as the main window plays its own game: the view's
// inputs and full repaints go to the game.
inline void PlayIn(GameView& view, qx::Game& game) {
    QObject::connect(&view, &GameView::Input, [&game](const qx::GameInput& in) { game.Apply(in); });
    QObject::connect(&view, &GameView::RepaintWanted, [&game] { game.Repaint(); });
}
