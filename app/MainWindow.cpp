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

#include "app/AboutDialog.h"
#include "app/ControlsDialog.h"
#include "app/GameTexts.h"
#include "app/NetGameDialog.h"
#include "app/NewGameDialog.h"
#include "app/ResourcePixmap.h"
#include "game/GameWait.h"
#include "gfx/PictureCatalogue.h"

namespace {

constexpr int kMinClientWidth = 160;
constexpr int kMinClientHeight = 120;

}  // namespace

MainWindow::MainWindow(QWidget* parent)
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
    net = new NetPlayController(this);
    server = new ServerPlay(*net, *view, game, this);
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

    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(qx::Game::kTimerPeriodMs);
    connect(&timer, &QTimer::timeout, this, &MainWindow::OnTimer);
    game.Start(static_cast<uint32_t>(std::time(nullptr)),
               {!settings.ReadEmperorComputer(), !settings.ReadRebelComputer()});
    StartGameTimer();
    UpdateTitle();

    // Where no window manager closes the window on Alt+F4, the window does.
    auto* altF4 = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
    connect(altF4, &QShortcut::activated, this, &QWidget::close);

    // The New game command runs as soon as the event loop does, unless the
    // command line asks for a network game (rightly or wrongly).
    QString netError;
    const bool netAsked =
        NetSetup::FromArguments(QCoreApplication::arguments(), netError) || !netError.isEmpty();
    QMetaObject::invokeMethod(
        this, netAsked ? &MainWindow::StartNetworkFromArguments : &MainWindow::OnGameNew,
        Qt::QueuedConnection);
}

MainWindow::~MainWindow() {
    const StoredRect rect = position.Captured() ? position.Saved() : position.Capture();
    settings.WriteAtExit(rect, game.State().emperor.Computer(), game.State().rebel.Computer(),
                         showScore);
    timer.stop();
}

// The player's inputs, from the view and the pads alike, go to the game
// shown; the network game's progress and the replay's are shown as they
// come.
void MainWindow::ConnectView() {
    connect(view, &GameView::Input, this, &MainWindow::OnPlayerInput);
    connect(view, &GameView::RepaintWanted, this, &MainWindow::RepaintShownGame);
    connect(&pads, &GamepadInput::Input, this, &MainWindow::OnPlayerInput);
    connect(&pads, &GamepadInput::PauseRequested, this, &MainWindow::OnGamePause);
    connect(net, &NetPlayController::StatusChanged, this, &MainWindow::UpdateTitle);
    connect(net, &NetPlayController::Started, this, &MainWindow::OnNetworkStarted);
    connect(net, &NetPlayController::Ended, this, &MainWindow::OnNetworkEnded);
    connect(server, &ServerPlay::Started, this, &MainWindow::OnNetworkStarted);
    connect(server, &ServerPlay::Ended, this, &MainWindow::OnNetworkEnded);
    connect(server, &ServerPlay::StatusChanged, this, &MainWindow::UpdateTitle);
    connect(net, &NetPlayController::GameShown, view, &GameView::ShowGame);
    connect(net, &NetPlayController::Drawn, view, &GameView::UpdateWritten);
    connect(net, &NetPlayController::EndBoxClosed, this,
            [this] { view->setFocus(Qt::ActiveWindowFocusReason); });
    connect(&replays, &ReplayController::PlaybackStarted, this,
            [this] { playbackHold = HoldLocalGame(); });
    connect(&replays, &ReplayController::PlaybackStopped, this, [this] {
        if (std::exchange(playbackHold, false)) ResumeLocalGame();
    });
}

void MainWindow::BuildMenu() {
    QMenu* gameMenu = menuBar()->addMenu(tr("&Hra"));
    gameMenu->addAction(tr("&Nova"), this, &MainWindow::OnGameNew);
    pauseAction = gameMenu->addAction(tr("&Pauza"), this, &MainWindow::OnGamePause);
    pauseAction->setCheckable(true);
    pauseAction->setChecked(paused);
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
}

// A minimised window's local game waits until the window is restored: its
// end-of-game box would otherwise pop up over other programs. A network
// game runs on the other machine's clock and cannot wait.
void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    if (isMinimized()) {
        if (!minimisedHold) minimisedHold = HoldLocalGame();
    } else if (minimisedHold) {
        minimisedHold = false;
        ResumeLocalGame();
    }
}

bool MainWindow::HoldLocalGame() {
    if (NetworkActive() || !timer.isActive()) return false;
    timer.stop();
    return true;
}

// The game goes on unless something else stopped it meanwhile (a pause,
// the end of a game, a network game).
void MainWindow::ResumeLocalGame() {
    if (!paused && !NetworkActive() && game.State().timerRunning && !game.Waiting() &&
        !replays.Playing())
        timer.start();
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
    FollowGame();
}

// Pause and P stop the game's timer and start it again; a pause ends also
// when the game's timer starts with a new game.
void MainWindow::OnGamePause() {
    if (NetworkActive()) return;  // a network game runs on the other machine's clock too
    if (paused) {
        paused = false;
        timer.start();
    } else if (timer.isActive()) {
        paused = true;
        timer.stop();
    }
    pauseAction->setChecked(paused);
    UpdatePadAccess();
    UpdateTitle();
}

void MainWindow::OnGameShowScore(bool show) {
    showScore = show;
    UpdateTitle();
}

// "Quarnex 2.00", with the Emperor's and the Rebel's wins when the score is
// shown, and the pause; during a network game the side instead (the waiting
// game's score is not this game's).
void MainWindow::UpdateTitle() {
    shownWins = {game.State().emperor.Wins(), game.State().rebel.Wins()};
    QString title = QStringLiteral("Quarnex 2.00");
    const QString netTitle =
        net && !net->Title().isEmpty() ? net->Title() : (server ? server->Title() : QString());
    const bool network = !netTitle.isEmpty();
    if (showScore && !network) {
        title += QStringLiteral(" - %1 : %2").arg(shownWins.first).arg(shownWins.second);
    }
    if (paused) title += tr(" - pauza");
    if (network) title += QStringLiteral(" - ") + netTitle;
    if (title != windowTitle()) setWindowTitle(title);
}

// A local game waits while the controls page is open; the game goes on
// behind the About box. Once they close, a full repaint.
void MainWindow::OnHelpControls() {
    const bool held = HoldLocalGame();
    auto* dialog = new ControlsDialog(keys, &pads, this);
    OpenModal(dialog, false, [this, dialog, held](int result) {
        if (result == QDialog::Accepted && !(dialog->Bindings() == keys)) {
            keys = dialog->Bindings();
            settings.WriteKeys(keys);
        }
        if (held) ResumeLocalGame();
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
    if (showScore && shownWins != std::pair{game.State().emperor.Wins(), game.State().rebel.Wins()})
        UpdateTitle();
    FollowGame();
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
    FollowGame();
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

// After every input and tick of the window's game: a game that waits stands
// still and shows the window it waits for, once.
void MainWindow::FollowGame() {
    if (!game.Waiting() || waitWindow) return;
    timer.stop();
    view->update();
    UpdateTitle();  // the final score, while the box is open
    if (game.State().wait.what == qx::WaitFor::EndOfGameBox) {
        OpenEndOfGame();
    } else {
        OpenNewGameChoice();
    }
}

void MainWindow::OpenEndOfGame() {
    auto* box = new QMessageBox(
        QMessageBox::NoIcon, GameTexts::Translate(qx::GameWait::EndOfGameCaption()),
        GameTexts::Translate(game.State().wait.EndOfGameText()), QMessageBox::Ok, this);
    box->setTextFormat(Qt::PlainText);
    waitWindow = box;
    OpenModal(box, WaitInPlay(), [this](int) { Answer(qx::GameInput::EndOfGameClosed()); });
}

// Whether the game came to wait in the middle of play (the end of a game),
// not at the player's command.
bool MainWindow::WaitInPlay() const {
    return game.State().wait.resume != qx::ResumeAt::NoTick;
}

// The players as they are now; with a pad attached also which side it plays.
void MainWindow::OpenNewGameChoice() {
    const qx::PlayerChoice now{!game.State().emperor.Computer(), !game.State().rebel.Computer()};
    auto* dialog = new NewGameDialog(now, this);
    pads.SetAccepts(GamepadInput::Accepts::Nothing);
    pads.Poll();  // pads plugged in since the last look
    if (pads.PadCount() > 0) dialog->ShowPadChoice(pads.FirstPadPlaysEmperor());
    waitWindow = dialog;
    OpenModal(dialog, WaitInPlay(), [this, dialog](int result) {
        if (result != QDialog::Accepted) return Answer(qx::GameInput::PlayersChosen(std::nullopt));
        if (pads.PadCount() > 0) pads.SetFirstPadPlaysEmperor(dialog->FirstPadPlaysEmperor());
        Answer(qx::GameInput::PlayersChosen(dialog->Choice()));
    });
}

// The answer of the window the game waited for; the game goes on (with the
// next window it waits for, or its timer).
void MainWindow::Answer(const qx::GameInput& answer) {
    waitWindow = nullptr;
    game.Apply(answer);
    // The first New game ends the game's start-up in the record.
    if (answer.kind == qx::InputKind::PlayersChosen) replays.AfterNewGame();
    view->update();
    UpdateTitle();
    if (game.Waiting()) return FollowGame();
    StartGameTimer();
}

// The game's timer starts with the game and after the windows it waited
// for; that ends a pause.
void MainWindow::StartGameTimer() {
    timer.start();
    if (!paused) return;
    paused = false;
    pauseAction->setChecked(false);
    UpdatePadAccess();
    UpdateTitle();
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
    pads.SetAccepts(paused && !NetworkActive() ? Accepts::PauseOnly : Accepts::Everything);
}

void MainWindow::OnGameNetwork() {
    if (NetworkActive()) return;
    if (replays.Playing()) replays.StopPlayback();
    auto* dialog = new NetGameDialog(server->DialogSetup(net->LastSetup()), this);
    OpenModal(dialog, false, [this, dialog](int result) {
        if (result != QDialog::Accepted) return;
        if (dialog->Setup().server != NetSetup::Server::None) {
            server->Start(dialog->Setup());
            return;
        }
        QString error;
        if (net->Start(dialog->Setup(), error)) return;
        OpenModal(
            new QMessageBox(QMessageBox::Warning, tr("Sitova hra"), error, QMessageBox::Ok, this),
            false, [](int) {});
    });
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

// quarnex --net-host PORT [--side emperor|rebel] or --net-join HOST:PORT.
// When that cannot start, a box says why; the window's own game begins once
// it is closed.
void MainWindow::StartNetworkFromArguments() {
    QString error;
    const auto wanted = NetSetup::FromArguments(QCoreApplication::arguments(), error);
    if (wanted && wanted->server != NetSetup::Server::None) {
        if (server->Start(*wanted)) return;
    } else if (net->StartFromArguments(QCoreApplication::arguments())) {
        return;
    }
    if (QMessageBox* box = net->ProblemBox()) {
        connect(box, &QMessageBox::finished, this, &MainWindow::OnGameNew);
    } else {
        OnGameNew();
    }
}

// The window's own game waits while a network game runs.
void MainWindow::OnNetworkStarted() {
    timer.stop();
    netStopAction->setEnabled(true);
    replayPlayAction->setEnabled(false);
    UpdatePadAccess();
    UpdateTitle();
}

void MainWindow::OnNetworkEnded() {
    view->ShowGame(game);
    netStopAction->setEnabled(false);
    replayPlayAction->setEnabled(true);
    if (game.State().timerRunning && !paused) timer.start();
    UpdatePadAccess();
    UpdateTitle();
    view->setFocus(Qt::ActiveWindowFocusReason);
}
