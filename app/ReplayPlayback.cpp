#include "app/ReplayPlayback.h"

namespace {

// The last picture stays a second before the window's own game returns.
constexpr int kHoldTicks = 1000 / qx::Game::kTimerPeriodMs;

}  // namespace

ReplayPlayback::ReplayPlayback(qx::Replay played, GameView& shownIn)
    : replay(std::move(played)), player(replay), target(game), view(&shownIn) {
    game.Start(replay.seed, replay.players);
    player.Step(target);  // the start-up
    view->ShowGame(game);
    view->setFocus();
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(qx::Game::kTimerPeriodMs);
    connect(&timer, &QTimer::timeout, this, &ReplayPlayback::Advance);
    timer.start();
}

ReplayPlayback::~ReplayPlayback() {
    timer.stop();
}

void ReplayPlayback::Advance() {
    if (player.Step(target)) {
        if (view) view->UpdateWritten();
        emit Stepped();
        return;
    }
    if (++holdTicks < kHoldTicks && !player.Failed()) return;
    timer.stop();
    emit Finished();
}
