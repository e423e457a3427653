#pragma once

#include <QObject>
#include <QTimer>

// The 30 ms clock of the window's own game and the one rule for when it
// runs: while the game is playing (not waiting for a box), not paused and
// held by nothing — a minimised window (its end box would pop up over other
// programs), the controls page, a replay played back, a network game (which
// runs on the other machine's clock) or a dialog or note of network play. Every start and stop of
// the local game goes through here.
class LocalGameClock : public QObject {
    Q_OBJECT

  public:
    enum class Hold { Minimised = 1, Controls = 2, Playback = 4, Network = 8, NetworkBox = 16 };

    explicit LocalGameClock(QObject* parent = nullptr);

    // The game plays from now on (a new game, the answer to a box it waited
    // for); that ends a pause.
    void Play();
    // The game waits for a box.
    void Wait();
    // Pause and P: a running game stops, a paused one goes on. False when
    // there is nothing to pause.
    bool TogglePause();
    void SetHeld(Hold hold, bool held);

    bool Running() const { return timer.isActive(); }
    bool Paused() const { return paused; }

  signals:
    void Tick();
    // The pause began or ended.
    void PauseChanged(bool paused);

  private:
    void Apply();

    QTimer timer;
    bool playing = false;
    bool paused = false;
    int holds = 0;
};
