#include "app/MainWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QShortcut>
#include <ctime>
#include <memory>

#include "app/AboutDialog.h"
#include "app/ControlsDialog.h"
#include "app/GameWaits.h"
#include "app/NameLookup.h"
#include "app/NetGameDialog.h"
#include "app/NetStatusFit.h"
#include "app/ResourcePixmap.h"
#include "app/ServerWaitDialog.h"
#include "gfx/PictureCatalogue.h"

namespace {

constexpr int kMinClientWidth = 160;
constexpr int kMinClientHeight = 120;

}  // namespace

MainWindow::MainWindow(std::optional<NetSetup> fromCommandLine, QWidget* parent)
    : QMainWindow(parent), replays(this), heldKeys([this](const QKeyEvent& key) {
          return keys.ToGameKey(key.key(), key.modifiers()) != qx::GameKey::None;
      }) {
    const StoredRect stored = WindowPosition::Parse(settings.ReadPosition());
    showScore = settings.ReadShowScore();
    language.Apply(Language::Chosen(settings.ReadLanguage()));
    keys = settings.ReadKeys();

    setWindowTitle(QStringLiteral("Quarnex 2.00"));
    view = new GameView(game, this);
    view->SetKeyBindings(keys);
    pads.SetKeyBindings(keys);
    view->setMinimumSize(kMinClientWidth, kMinClientHeight);
    setCentralWidget(view);
    const ModalOpener networkOpener = [this](QDialog* dialog, bool byGame,
                                             std::function<void(int)> closed) {
        OpenNetworkModal(dialog, byGame, std::move(closed));
    };
    net = new NetPlayController(this, networkOpener);
    server = new ServerPlay(*net, *view, game, this, networkOpener);
    ConnectView();
    // The network figures beside the menu, where they fit at any width.
    menuBar()->setCornerWidget(net->StatusLabel(), Qt::TopRightCorner);
    BuildMenu();
    setWindowIcon(QIcon(ResourcePixmap::Icon(qx::picture::kEmperorIcon)));
    layout()->activate();
    position.Place(stored);
    layout()->activate();
    view->SyncSize();
    replays.Attach(game, *view);

    waits = new GameWaits(game, clock, pads, replays, this,
                          [this](QDialog* dialog, bool byGame, std::function<void(int)> closed) {
                              OpenModal(dialog, byGame, std::move(closed));
                          });
    connect(waits, &GameWaits::Changed, this, [this] {
        view->update();
        UpdateTitle();
    });
    connect(&clock, &LocalGameClock::Tick, this, &MainWindow::OnTimer);
    connect(&clock, &LocalGameClock::PauseChanged, this, &MainWindow::OnPauseChanged);
    game.Start(static_cast<uint32_t>(std::time(nullptr)),
               {!settings.ReadEmperorComputer(), !settings.ReadRebelComputer()});
    clock.Play();
    UpdateTitle();

    // Where no window manager closes the window on Alt+F4, the window does.
    auto* altF4 = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
    connect(altF4, &QShortcut::activated, this, &QWidget::close);

    // The New game command runs as soon as the event loop does, unless the
    // command line asks for a network game.
    QMetaObject::invokeMethod(
        this,
        [this, wanted = std::move(fromCommandLine)] {
            if (wanted) return StartNetworkFromArguments(*wanted);
            OnGameNew();
        },
        Qt::QueuedConnection);
}

MainWindow::~MainWindow() {
    const StoredRect rect = position.Captured() ? position.Saved() : position.Capture();
    settings.WriteAtExit(rect, game.State().emperor.Computer(), game.State().rebel.Computer(),
                         showScore);
}

// The player's inputs, from the view and the pads alike, go to the game
// shown; the network game's progress and the replay's are shown as they
// come.
void MainWindow::ConnectView() {
    connect(view, &GameView::Input, this, &MainWindow::OnPlayerInput);
    connect(view, &GameView::RepaintWanted, this, &MainWindow::RepaintShownGame);
    connect(&pads, &GamepadInput::Input, this, &MainWindow::OnPlayerInput);
    connect(&pads, &GamepadInput::PauseRequested, this, &MainWindow::OnGamePause);
    connect(net, &NetPlayController::StatusChanged, this, [this] {
        netStatus = net->StatusLabel()->text();
        NetStatusFit::Show(*net->StatusLabel(), *menuBar(), netStatus);
        UpdateTitle();
    });
    connect(net, &NetPlayController::Started, this, &MainWindow::OnNetworkStarted);
    connect(net, &NetPlayController::Ended, this, &MainWindow::OnNetworkEnded);
    connect(server, &ServerPlay::Started, this, &MainWindow::OnNetworkStarted);
    connect(server, &ServerPlay::Ended, this, &MainWindow::OnNetworkEnded);
    connect(server, &ServerPlay::StatusChanged, this, &MainWindow::UpdateTitle);
    connect(net, &NetPlayController::GameShown, view, &GameView::ShowGame);
    connect(net, &NetPlayController::Drawn, view, &GameView::UpdateWritten);
    connect(&replays, &ReplayController::PlaybackStarted, this, [this] {
        clock.SetHeld(LocalGameClock::Hold::Playback, true);
        UpdateTitle();
    });
    connect(&replays, &ReplayController::PlaybackStopped, this, [this] {
        clock.SetHeld(LocalGameClock::Hold::Playback, false);
        UpdateTitle();
    });
    connect(&replays, &ReplayController::PlaybackStepped, this, [this] {
        if (showScore && shownWins != ShownWins()) UpdateTitle();
    });
}

void MainWindow::BuildMenu() {
    QMenu* gameMenu = menuBar()->addMenu(tr("&Hra"));
    gameMenu->addAction(tr("&Nova"), this, &MainWindow::OnGameNew);
    pauseAction = gameMenu->addAction(tr("&Pauza"), this, &MainWindow::OnGamePause);
    pauseAction->setCheckable(true);
    pauseAction->setChecked(clock.Paused());
    pauseAction->setShortcuts({QKeySequence(Qt::Key_Pause), QKeySequence(Qt::Key_P)});
    QAction* score = gameMenu->addAction(tr("Zobrazit &skore"));
    score->setCheckable(true);
    score->setChecked(showScore);
    connect(score, &QAction::toggled, this, &MainWindow::OnGameShowScore);
    BuildLanguageMenu(*gameMenu);
    gameMenu->addSeparator();
    gameMenu->addAction(tr("&Ulozit zaznam..."), this, &MainWindow::OnGameSaveReplay);
    replayPlayAction =
        gameMenu->addAction(tr("P&rehrat zaznam..."), &replays, &ReplayController::OnPlay);
    replayPlayAction->setEnabled(!NetworkActive());
    gameMenu->addSeparator();
    gameMenu->addAction(tr("Si&tova hra..."), this, &MainWindow::OnGameNetwork);
    netStopAction =
        gameMenu->addAction(tr("Ukon&cit sitovou hru"), this, &MainWindow::OnGameNetworkStop);
    netStopAction->setEnabled(NetworkActive());
    gameMenu->addSeparator();
    gameMenu->addAction(tr("&Konec"), this, &MainWindow::OnGameExit);
    QMenu* helpMenu = menuBar()->addMenu(tr("&Napoveda"));
    helpMenu->addAction(tr("O&vladani"), this, &MainWindow::OnHelpControls);
    helpMenu->addAction(tr("&O Aplikaci"), this, &MainWindow::OnHelpAbout);
}

// "Jazyk / Language": each language named in itself, so either can be
// found whatever the menu speaks now.
void MainWindow::BuildLanguageMenu(QMenu& gameMenu) {
    QMenu* menu = gameMenu.addMenu(QStringLiteral("&Jazyk / Language"));
    auto* group = new QActionGroup(menu);
    const std::pair<Language::Code, QString> choices[] = {
        {Language::Code::Czech, QStringLiteral("&Cestina")},
        {Language::Code::English, QStringLiteral("&English")},
    };
    for (const auto& [code, name] : choices) {
        QAction* action = menu->addAction(name);
        action->setCheckable(true);
        action->setChecked(language.Current() == code);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, code = code] { OnLanguage(code); });
    }
}

// The choice is kept at once; the menu and the title speak it at once, the
// dialogs from the next one that opens.
void MainWindow::OnLanguage(Language::Code code) {
    settings.WriteLanguage(Language::Key(code));
    if (code == language.Current()) return;
    language.Apply(code);
    // The menu being rebuilt may be the one whose item was just chosen.
    QMetaObject::invokeMethod(
        this,
        [this] {
            for (QAction* menu : menuBar()->actions()) delete menu->menu();
            menuBar()->clear();
            BuildMenu();
            UpdateTitle();
        },
        Qt::QueuedConnection);
}

void MainWindow::setVisible(bool visible) {
    QMainWindow::setVisible(visible);
    if (visible) position.Follow();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    position.Follow();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    position.Follow();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    position.Follow();
    if (!netStatus.isEmpty()) NetStatusFit::Show(*net->StatusLabel(), *menuBar(), netStatus);
}

// A minimised window's local game waits until the window is restored. A
// network game runs on the other machine's clock and cannot wait.
void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        clock.SetHeld(LocalGameClock::Hold::Minimised, isMinimized());
}

// The close box, Alt+F4 and "Konec" all end here. While a modal window is
// open the main window cannot be closed.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (QApplication::activeModalWidget()) {
        event->ignore();
        return;
    }
    position.Capture();
    event->accept();
}

void MainWindow::OnGameExit() {
    close();
}

void MainWindow::OnGameNew() {
    if (net->Active()) return net->NewGame();
    if (server->Busy()) return;
    game.Apply(qx::GameInput::NewGame());
    view->update();
    UpdateTitle();
    waits->Follow();
}

// Pause and P stop the game's clock and start it again; a pause ends also
// when the game plays on after a box (a new game).
void MainWindow::OnGamePause() {
    if (NetworkActive()) return;  // a network game runs on the other machine's clock too
    clock.TogglePause();
}

void MainWindow::OnPauseChanged() {
    pauseAction->setChecked(clock.Paused());
    UpdatePadAccess();
    UpdateTitle();
}

void MainWindow::OnGameShowScore(bool show) {
    showScore = show;
    UpdateTitle();
}

// The wins of the game the window shows: its own, or a replay's.
std::pair<int32_t, int32_t> MainWindow::ShownWins() const {
    const qx::GameState& shown =
        replays.Playing() ? replays.Playback()->PlayedGame().State() : game.State();
    return {shown.emperor.Wins(), shown.rebel.Wins()};
}

// "Quarnex 2.00", with the Emperor's and the Rebel's wins when the score is
// shown (a replay's while one plays), and the pause; during a network game
// the side instead (the waiting game's score is not this game's).
void MainWindow::UpdateTitle() {
    shownWins = ShownWins();
    QString title = QStringLiteral("Quarnex 2.00");
    const QString netTitle =
        net && !net->Title().isEmpty() ? net->Title() : (server ? server->Title() : QString());
    const bool network = !netTitle.isEmpty();
    if (showScore && !network) {
        title += QStringLiteral(" - %1 : %2").arg(shownWins.first).arg(shownWins.second);
    }
    if (clock.Paused()) title += tr(" - pauza");
    if (network) title += QStringLiteral(" - ") + netTitle;
    if (replays.Playing()) title += tr(" - prehravani zaznamu");
    if (title != windowTitle()) setWindowTitle(title);
}

// A local game waits while the controls page is open; the game goes on
// behind the About box. Once they close, a full repaint.
void MainWindow::OnHelpControls() {
    clock.SetHeld(LocalGameClock::Hold::Controls, true);
    auto* dialog = new ControlsDialog(keys, &pads, this);
    OpenModal(dialog, false, [this, dialog](int result) {
        if (result == QDialog::Accepted && !(dialog->Bindings() == keys)) {
            keys = dialog->Bindings();
            settings.WriteKeys(keys);
        }
        clock.SetHeld(LocalGameClock::Hold::Controls, false);
        view->FullRepaint();
    });
}

void MainWindow::OnHelpAbout() {
    OpenModal(new AboutDialog(this), false, [this](int) { view->FullRepaint(); });
}

void MainWindow::OnTimer() {
    if (NetworkActive() || game.Waiting()) return;
    game.Tick();
    view->UpdateWritten();
    if (showScore && shownWins != ShownWins()) UpdateTitle();
    waits->Follow();
}

// The view's and the pads' inputs. During a replay a key or a button ends
// the playback (the view's own keys and clicks never get this far then);
// during a network game they go into its input stream.
void MainWindow::OnPlayerInput(const qx::GameInput& input) {
    if (replays.Playing()) {
        if (input.kind != qx::InputKind::Target) replays.StopPlayback();
        return;
    }
    if (server->Watch()) return;  // a spectator's keys and mouse change nothing
    if (&view->ShownGame() != &game) return net->AddInput(input);
    game.Apply(input);
    waits->Follow();
}

// The window's own game takes a full repaint as an input; a game it only
// shows (a network game, a replay) is drawn from its state.
void MainWindow::RepaintShownGame() {
    qx::Game& shown = view->ShownGame();
    if (&shown == &game) {
        game.Repaint();
    } else {
        shown.ShowState();
    }
}

// Without a window manager nobody hands the keyboard back to the main
// window when a modal window closes; it takes it back itself. The window
// deletes itself once closed.
void MainWindow::OpenModal(QDialog* dialog, bool byGame, std::function<void(int)> closed) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    heldKeys.BoxOpened(byGame);
    connect(dialog, &QDialog::finished, this, [this, closed = std::move(closed)](int result) {
        heldKeys.BoxClosed();
        closed(result);
        AfterModal();
    });
    dialog->show();
    UpdatePadAccess();
}

void MainWindow::OpenNetworkModal(QDialog* dialog, bool byGame, std::function<void(int)> closed) {
    ++networkBoxes;
    clock.SetHeld(LocalGameClock::Hold::NetworkBox, true);
    OpenModal(dialog, byGame, [this, closed = std::move(closed)](int result) {
        --networkBoxes;
        closed(result);
        clock.SetHeld(LocalGameClock::Hold::NetworkBox, networkBoxes > 0);
    });
}

void MainWindow::AfterModal() {
    UpdatePadAccess();
    if (QApplication::activeModalWidget() || !isVisible()) return;
    activateWindow();
    view->setFocus(Qt::ActiveWindowFocusReason);
}

// The pads play while no modal window is open (a network game too); during
// a pause Start still ends it.
void MainWindow::UpdatePadAccess() {
    using Accepts = GamepadInput::Accepts;
    if (QApplication::activeModalWidget()) return pads.SetAccepts(Accepts::Nothing);
    pads.SetAccepts(clock.Paused() && !NetworkActive() ? Accepts::PauseOnly : Accepts::Everything);
}

void MainWindow::OnGameNetwork() {
    if (NetworkActive()) return;
    if (replays.Playing()) replays.StopPlayback();
    auto* dialog = new NetGameDialog(server->DialogSetup(net->LastSetup()), this);
    OpenNetworkModal(dialog, false, [this, dialog](int result) {
        if (result != QDialog::Accepted) return;
        if (dialog->Setup().server != NetSetup::Server::None) {
            server->Start(dialog->Setup(), [] {});
            return;
        }
        StartDirect(dialog->Setup(), [] {});
    });
}

// Joining a host by name: the name is looked up first, in a note that can
// cancel it, so the window goes on meanwhile; the game then starts with the
// address found. `failed` runs when it does not start (after its box).
void MainWindow::StartDirect(const NetSetup& wanted, std::function<void()> failed) {
    if (wanted.hosting) return StartResolved(wanted, std::move(failed));
    auto* note = new ServerWaitDialog(tr("Hledam pocitac %1...").arg(wanted.host), this);
    auto* lookup = new NameLookup(note);
    auto found = std::make_shared<QString>();
    connect(lookup, &NameLookup::Found, note, [note, found](const QString& address) {
        *found = address;
        note->accept();
    });
    connect(lookup, &NameLookup::Failed, note, &QDialog::accept);
    OpenNetworkModal(note, false, [this, wanted, found, failed](int result) {
        if (result != QDialog::Accepted) return failed();  // cancelled
        if (found->isEmpty()) {
            return net->ShowProblem(tr("Pocitac '%1' se nepodarilo najit.").arg(wanted.host),
                                    failed);
        }
        NetSetup resolved = wanted;
        resolved.host = *found;
        StartResolved(resolved, failed);
    });
    lookup->Start(wanted.host);
}

void MainWindow::StartResolved(const NetSetup& wanted, std::function<void()> failed) {
    QString error;
    if (net->Start(wanted, error)) return;
    net->ShowProblem(error, std::move(failed));
}

void MainWindow::OnGameNetworkStop() {
    net->Stop();
    server->Stop();
}

// "Ulozit zaznam...": the network game's replay while one runs.
void MainWindow::OnGameSaveReplay() {
    if (net->Active()) return net->SaveReplay();
    replays.OnSave();
}

// quarnex --net-host PORT [--side emperor|rebel] or --net-join HOST:PORT,
// or through a match server. When that cannot start, a box says why (and
// standard error); the window's own game begins once it is closed.
void MainWindow::StartNetworkFromArguments(const NetSetup& wanted) {
    if (wanted.server != NetSetup::Server::None) {
        server->Start(wanted, [this] { OnGameNew(); });
        return;
    }
    StartDirect(wanted, [this] { OnGameNew(); });
}

// The window's own game waits while a network game runs.
void MainWindow::OnNetworkStarted() {
    clock.SetHeld(LocalGameClock::Hold::Network, true);
    netStopAction->setEnabled(true);
    replayPlayAction->setEnabled(false);
    UpdatePadAccess();
    UpdateTitle();
}

void MainWindow::OnNetworkEnded() {
    view->ShowGame(game);
    netStopAction->setEnabled(false);
    replayPlayAction->setEnabled(true);
    clock.SetHeld(LocalGameClock::Hold::Network, false);
    UpdatePadAccess();
    UpdateTitle();
    view->setFocus(Qt::ActiveWindowFocusReason);
}
