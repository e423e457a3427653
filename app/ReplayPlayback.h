#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include "app/ReplayView.h"
#include "game/Game.h"
#include "replay/Replay.h"
#include "replay/ReplayGameTarget.h"
#include "replay/ReplayPlayer.h"

// A replay played in the window at the game's own speed, one tick every
// 30 ms, on a game of its own shown in a ReplayView laid over the window's
// view. The end-of-game box and the New game dialog are answered from the
// record, so nothing waits on the viewer. Finished() comes a moment after the
// last tick, or as soon as the viewer presses a key or clicks.
class ReplayPlayback : public QObject {
    Q_OBJECT

  public:
    ReplayPlayback(qx::Replay replay, QWidget* over);
    ~ReplayPlayback() override;

    // Covers `over` again after it changed size.
    void Fit();
    bool Running() const { return timer.isActive(); }
    const qx::Game& PlayedGame() const { return game; }
    ReplayView* View() const { return view; }

  signals:
    void Finished();

  private:
    void OnTimer();

    qx::Replay replay;
    qx::ReplayPlayer player;
    qx::Game game;
    qx::ReplayGameTarget target;
    QPointer<QWidget> over;
    QPointer<ReplayView> view;
    QTimer timer;
    int holdTicks = 0;  // ticks the last picture stays after the end
};
