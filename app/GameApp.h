#pragma once

#include <QApplication>
#include <chrono>
#include <memory>

class GameFrame;

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

  private:
    void TraceFirstFrame();

    std::unique_ptr<GameFrame> frame;
    std::chrono::steady_clock::time_point started;
};
