#pragma once

#include <QMainWindow>
#include <QMargins>
#include <QSize>
#include <QTimer>
#include <string>
#include <utility>

#include "app/GameView.h"
#include "app/GamepadInput.h"
#include "app/HeldKeyFilter.h"
#include "app/Language.h"
#include "app/NetPlayController.h"
#include "app/ReplayController.h"
#include "app/ServerPlay.h"
#include "app/Settings.h"
#include "app/WindowPosition.h"
#include "game/Game.h"
#include "game/GameHost.h"

class QAction;
class QDialog;
class QMenu;

// The main window "Quarnex 2.00": owns the game for its whole life, binds
// the window's events, the gamepads and the menu commands to the game's
// handlers, runs the 30 ms game timer (which a pause stops) and the modal
// windows the game asks for, and keeps the window size, the choice of
// players and whether the title shows the score in the settings.
class GameFrame : public QMainWindow, public qx::GameHost {
    Q_OBJECT

  public:
    explicit GameFrame(QWidget* parent = nullptr);
    // Writes the settings: the window rectangle, then "PL2", then "PL1".
    ~GameFrame() override;

    qx::Game& GetGame() { return game; }
    GameView& View() { return *view; }
    GamepadInput& Gamepads() { return pads; }
    ReplayController& Replays() { return replays; }
    NetPlayController& NetPlay() { return *net; }
    ServerPlay& ServerNet() { return *server; }
    bool TimerRunning() const { return timer.isActive(); }
    bool Paused() const { return paused; }

    uint32_t SetGameTimer() override;
    void KillGameTimer() override;
    void ShowEndOfGame(const std::string& caption, const std::string& text) override;
    bool RunNewGameDialog(qx::PlayerChoice& choice) override;

    const KeyBindings& Keys() const { return keys; }

    // The menu commands "Nova", "Pauza", "Zobrazit skore", "Konec",
    // "Ovladani" and "O Aplikaci".
    void OnGameNew();
    void OnGamePause();
    void OnGameShowScore(bool show);
    // "Sitova hra..." and "Ukoncit sitovou hru".
    void OnGameNetwork();
    void OnGameNetworkStop();
    // "Ulozit zaznam...".
    void OnGameSaveReplay();
    void OnGameExit();
    void OnHelpControls();
    void OnHelpAbout();

    void setVisible(bool visible) override;

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildMenu();
    void BuildLanguageMenu(QMenu& gameMenu);
    void OnLanguage(Language::Code code);
    void PlaceWindow(const StoredRect& stored);
    void FitFrame();
    bool Restored() const;
    void NoteNormalFrame();
    void CaptureWindowRect();
    void OnTimer();
    int RunModal(QDialog& dialog);
    void UpdateTitle();
    void UpdatePadAccess();
    void StartNetworkFromArguments();
    void OnNetworkStarted();
    // A network game runs, or a match server is asked, or a game watched.
    bool NetworkActive() const { return net->Active() || server->Busy(); }
    void OnNetworkEnded();
    // Stops the timer of a local game that runs (for a minimised window or
    // an open controls page); returns whether it did.
    bool HoldLocalGame();
    void ResumeLocalGame();

    Settings settings;
    Language language;
    KeyBindings keys;          // the player's own keys, which the view and the pads use
    ReplayController replays;  // before the game, which it records
    qx::Game game;
    GameView* view = nullptr;
    QTimer timer;
    StoredRect savedWindowRect;
    bool windowRectCaptured = false;
    QSize outerSize;
    QMargins normalMargins;
    QTimer frameNote;
    bool frameFitted = false;
    int modalDepth = 0;
    bool inTick = false;
    bool paused = false;
    bool minimisedHold = false;  // the game stopped when the window was minimised
    bool showScore = false;
    std::pair<int32_t, int32_t> shownWins{-1, -1};
    QAction* pauseAction = nullptr;
    GamepadInput pads{game};
    HeldKeyFilter heldKeys;
    NetPlayController* net = nullptr;
    ServerPlay* server = nullptr;
    QAction* netStopAction = nullptr;
    QAction* replayPlayAction = nullptr;
};
