#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include "app/GameView.h"
#include "game/Game.h"
#include "replay/Replay.h"
#include "replay/ReplayGameTarget.h"
#include "replay/ReplayPlayer.h"

// A replay played in the window at the game's own speed, one tick every
// 30 ms, on a game of its own shown in the window's view (which draws it
// from its state alone, so watching never changes the played game). The
// end-of-game box and the New game dialog are answered from the record, so
// nothing waits on the viewer. Finished() comes a moment after the last
// tick; whoever started the playback shows its own game again.
class ReplayPlayback : public QObject {
    Q_OBJECT

  public:
    ReplayPlayback(qx::Replay replay, GameView& view);
    ~ReplayPlayback() override;

    bool Running() const { return timer.isActive(); }
    const qx::Game& PlayedGame() const { return game; }

  signals:
    void Finished();
    // One more tick of the replay was played and shown.
    void Stepped();

  private:
    void Advance();

    qx::Replay replay;
    qx::ReplayPlayer player;
    qx::Game game;
    qx::ReplayGameTarget target;
    QPointer<GameView> view;
    QTimer timer;
    int holdTicks = 0;  // ticks the last picture stays after the end
};
