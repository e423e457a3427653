#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <utility>

#include "app/GameView.h"
#include "app/GameWaits.h"
#include "app/GamepadInput.h"
#include "app/HeldKeyFilter.h"
#include "app/Language.h"
#include "app/LocalGameClock.h"
#include "app/NetPlayController.h"
#include "app/ReplayController.h"
#include "app/ServerPlay.h"
#include "app/Settings.h"
#include "app/WindowPosition.h"
#include "game/Game.h"
#include "game/GameInput.h"

class QAction;
class QDialog;
class QMenu;

// The main window "Quarnex 2.00": owns the game for its whole life, sends
// the player's inputs from the view and the gamepads to the game shown,
// with its clock (LocalGameClock) and the windows it waits for (GameWaits),
// runs the menu commands, and keeps the window size, the choice of players and whether the title
// shows the score in the settings. No window it opens runs an event loop of its own.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // `fromCommandLine`: the network game the command line asked for.
    explicit MainWindow(std::optional<NetSetup> fromCommandLine = std::nullopt,
                        QWidget* parent = nullptr);
    // Writes the settings: the window rectangle, then "PL2", then "PL1".
    ~MainWindow() override;

    qx::Game& GetGame() { return game; }
    GameView& View() { return *view; }
    GamepadInput& Gamepads() { return pads; }
    ReplayController& Replays() { return replays; }
    NetPlayController& NetPlay() { return *net; }
    ServerPlay& ServerNet() { return *server; }
    bool TimerRunning() const { return clock.Running(); }
    bool Paused() const { return clock.Paused(); }

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
    void ConnectView();
    void OnLanguage(Language::Code code);
    void OnTimer();
    void OnPlayerInput(const qx::GameInput& input);
    void RepaintShownGame();
    // Shows a modal window without waiting for it; `closed` gets its result.
    // `byGame`: the game opened it in the middle of play, not the player.
    void OpenModal(QDialog* dialog, bool byGame, std::function<void(int)> closed);
    // The same for the boxes and dialogs of network play: the window's own
    // game waits while any of them is open.
    void OpenNetworkModal(QDialog* dialog, bool byGame, std::function<void(int)> closed);
    void AfterModal();
    void UpdateTitle();
    std::pair<int32_t, int32_t> ShownWins() const;
    void UpdatePadAccess();
    void StartNetworkFromArguments(const NetSetup& wanted);
    void StartDirect(const NetSetup& wanted, std::function<void()> failed);
    void StartResolved(const NetSetup& wanted, std::function<void()> failed);
    void OnNetworkStarted();
    // A network game runs, or a match server is asked, or a game watched.
    bool NetworkActive() const { return net->Active() || server->Busy(); }
    void OnNetworkEnded();
    void OnPauseChanged();

    Settings settings;
    Language language;
    KeyBindings keys;          // the player's own keys, which the view and the pads use
    ReplayController replays;  // before the game, which it records
    qx::Game game;
    GameView* view = nullptr;
    LocalGameClock clock;
    GameWaits* waits = nullptr;
    WindowPosition position{*this};
    bool showScore = false;
    QString netStatus;  // the network figures in full, which the menu bar may show shortened
    std::pair<int32_t, int32_t> shownWins{-1, -1};
    QAction* pauseAction = nullptr;
    GamepadInput pads{[this]() -> const qx::GameState& { return view->ShownGame().State(); }};
    HeldKeyFilter heldKeys;
    NetPlayController* net = nullptr;
    ServerPlay* server = nullptr;
    int networkBoxes = 0;  // network play's boxes and dialogs open now
    QAction* netStopAction = nullptr;
    QAction* replayPlayAction = nullptr;
};
