#include "app/ReplayPlayback.h"

namespace {

// The last picture stays a second before the window's own game returns.
constexpr int kHoldTicks = 1000 / qx::Game::kTimerPeriodMs;

}  // namespace

ReplayPlayback::ReplayPlayback(qx::Replay played, QWidget* over)
    : replay(std::move(played)), player(replay), target(game), over(over) {
    game.Start(replay.seed, replay.players);
    view = new ReplayView(game, over);
    connect(view, &ReplayView::StopRequested, this, &ReplayPlayback::Finished);
    Fit();
    view->show();
    view->raise();
    view->setFocus();
    player.Step(target);  // the start-up
    game.ShowState();
    view->update();
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(qx::Game::kTimerPeriodMs);
    connect(&timer, &QTimer::timeout, this, &ReplayPlayback::OnTimer);
    timer.start();
}

ReplayPlayback::~ReplayPlayback() {
    timer.stop();
    delete view.data();
}

void ReplayPlayback::Fit() {
    if (over && view) view->setGeometry(over->rect());
}

void ReplayPlayback::OnTimer() {
    if (player.Step(target)) {
        view->UpdateWritten();
        return;
    }
    if (++holdTicks < kHoldTicks && !player.Failed()) return;
    timer.stop();
    emit Finished();
}
