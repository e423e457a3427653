#include "app/GameApp.h"

#include <unistd.h>

#include <QDateTime>
#include <QTimer>
#include <cstdio>

#include "app/MainWindow.h"
#include "app/NameLookup.h"
#include "app/StartupPages.h"

namespace {
// Long enough for the window, its fonts and the first dialog to be set up.
constexpr int kStartupOverMs = 5000;
}  // namespace

GameApp::GameApp(int& argc, char** argv)
    : QApplication(argc, argv), started(std::chrono::steady_clock::now()) {
    // Names the installed launcher, so a Wayland desktop shows its icon and
    // name for the window.
    setDesktopFileName(QStringLiteral("cz.marbek.quarnex"));
}

GameApp::~GameApp() {
    window.reset();
}

int GameApp::Run(const std::optional<NetSetup>& net) {
    window = std::make_unique<MainWindow>(net);
    if (qEnvironmentVariableIsSet("QUARNEX_TRACE_FIRST_FRAME")) TraceFirstFrame();
    window->show();
    // The first paint comes before the New game command runs.
    window->View().UpdateNow();
    QTimer::singleShot(kStartupOverMs, this, [] { StartupPages::Release(); });
    const int status = exec();
    window.reset();  // writes the settings
    // A name lookup given up on may still wait for a silent name server;
    // Qt would wait for it at exit, the player should not.
    if (NameLookup::AnyAbandoned()) {
        std::fflush(nullptr);
        _exit(status);
    }
    return status;
}

int GameApp::RefuseCommandLine(const QStringList& arguments) {
    return CommandLine::Refuse(arguments, true);
}

// For start-up measurements: reports on standard error when the first
// picture reaches the window.
void GameApp::TraceFirstFrame() {
    connect(
        &window->View(), &GameView::Presented, this,
        [this] {
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - started);
            std::fprintf(stderr,
                         "quarnex: first frame at %lld ms since the epoch, %lld ms after start\n",
                         static_cast<long long>(QDateTime::currentMSecsSinceEpoch()),
                         static_cast<long long>(elapsed.count()));
        },
        Qt::SingleShotConnection);
}
