#include "app/LocalGameClock.h"

#include "game/Game.h"

LocalGameClock::LocalGameClock(QObject* parent) : QObject(parent) {
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(qx::Game::kTimerPeriodMs);
    connect(&timer, &QTimer::timeout, this, &LocalGameClock::Tick);
}

void LocalGameClock::Play() {
    playing = true;
    if (paused) {
        paused = false;
        emit PauseChanged(false);
    }
    Apply();
}

void LocalGameClock::Wait() {
    playing = false;
    Apply();
}

// Only a game that runs can be paused: not one waiting for a box or held.
bool LocalGameClock::TogglePause() {
    if (!paused && !timer.isActive()) return false;
    paused = !paused;
    Apply();
    emit PauseChanged(paused);
    return true;
}

void LocalGameClock::SetHeld(Hold hold, bool held) {
    const int bit = static_cast<int>(hold);
    holds = held ? holds | bit : holds & ~bit;
    Apply();
}

void LocalGameClock::Apply() {
    const bool run = playing && !paused && holds == 0;
    if (run == timer.isActive()) return;
    if (run) {
        timer.start();
    } else {
        timer.stop();
    }
}
