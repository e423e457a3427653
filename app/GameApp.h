#pragma once

#include <QApplication>
#include <chrono>
#include <memory>

#include "app/CommandLine.h"

class MainWindow;

// The application: builds the one main window, shows and paints it, runs the
// event loop, and deletes the window at exit (which writes the settings).
class GameApp : public QApplication {
    Q_OBJECT

  public:
    GameApp(int& argc, char** argv);
    ~GameApp() override;

    // Builds and shows the main window; then the event loop until it closes.
    int Run();
    bool InitInstance();
    // Says what was wrong with the command line (in the settings' language)
    // and returns the exit status; no game opens.
    int RefuseCommandLine(const CommandLine::Outcome& outcome, bool launched);

  private:
    void TraceFirstFrame();

    std::unique_ptr<MainWindow> window;
    std::chrono::steady_clock::time_point started;
};
