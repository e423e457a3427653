#pragma once

#include <QApplication>
#include <chrono>
#include <memory>
#include <optional>

#include "app/CommandLine.h"
#include "app/NetSetup.h"

class MainWindow;

// The application: builds the one main window, shows and paints it, runs the
// event loop, and deletes the window at exit (which writes the settings).
class GameApp : public QApplication {
    Q_OBJECT

  public:
    GameApp(int& argc, char** argv);
    ~GameApp() override;

    // Builds and shows the main window, which starts the network game the
    // command line asked for, if any; then the event loop until it closes.
    int Run(const std::optional<NetSetup>& net);
    // Says what was wrong with the command line on standard error and in a
    // message box (in the settings' language) and returns the exit status;
    // no game opens.
    int RefuseCommandLine(const QStringList& arguments);

  private:
    void TraceFirstFrame();

    std::unique_ptr<MainWindow> window;
    std::chrono::steady_clock::time_point started;
};
