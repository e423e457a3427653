// A frame of the desktop window from tick to pixels: one tick of a
// computer-against-computer game (rules and drawing), the view told which
// rectangles changed, and those painted into the window's backing store and
// flushed (Qt's offscreen platform stands in for the screen), in a 600x400
// and a 1920x1080 client area.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "app/GameView.h"
#include "game/Game.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_frame";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

void BM_TickToPixels(benchmark::State& state) {
    App();
    qx::Game game;
    GameView view(game);
    view.resize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    view.show();
    view.SyncSize();
    game.Start(12345, {false, false});
    game.Apply(qx::GameInput::Repaint());
    game.Apply(qx::GameInput::NewGame(qx::PlayerChoice{false, false}));
    for (int i = 0; i < 2000; ++i) game.Tick();
    view.FullRepaint();
    QApplication::processEvents();
    int painted = 0;
    QObject::connect(&view, &GameView::Presented, [&painted] { ++painted; });
    for (auto _ : state) {
        game.Tick();
        view.UpdateWritten();
        QApplication::processEvents();
    }
    // The update is the window's own: a frame that painted nothing measured nothing.
    state.counters["paints"] = benchmark::Counter(painted, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TickToPixels)
    ->Args({600, 400})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
