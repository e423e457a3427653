#include "app/GameFrame.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QWindow>
#include <ctime>

#include "app/AboutDialog.h"
#include "app/ControlsDialog.h"
#include "app/GameTexts.h"
#include "app/NetGameDialog.h"
#include "app/NewGameDialog.h"
#include "app/ResourcePixmap.h"
#include "gfx/PictureCatalogue.h"

namespace {

constexpr int kMinClientWidth = 160;
constexpr int kMinClientHeight = 120;
constexpr int kFrameNoteDelayMs = 250;

QRect AvailableArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

GameFrame::GameFrame(QWidget* parent)
    : QMainWindow(parent),
      replays(this, *this, [this] { return timer.isActive(); }),
      game(*this),
      heldKeys([this](const QKeyEvent& key) {
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
    net = new NetPlayController(*view, game, this);
    connect(net, &NetPlayController::StatusChanged, this, &GameFrame::UpdateTitle);
    // The network figures beside the menu, where they fit at any width.
    menuBar()->setCornerWidget(net->StatusLabel(), Qt::TopRightCorner);
    connect(net, &NetPlayController::Started, this, &GameFrame::OnNetworkStarted);
    connect(net, &NetPlayController::Ended, this, &GameFrame::OnNetworkEnded);
    server = new ServerPlay(*net, *view, game, this);
    connect(server, &ServerPlay::Started, this, &GameFrame::OnNetworkStarted);
    connect(server, &ServerPlay::Ended, this, &GameFrame::OnNetworkEnded);
    connect(server, &ServerPlay::StatusChanged, this, &GameFrame::UpdateTitle);
    BuildMenu();
    setWindowIcon(QIcon(ResourcePixmap::Icon(qx::picture::kEmperorIcon)));
    layout()->activate();
    PlaceWindow(stored);
    layout()->activate();
    view->SyncSize();
    replays.Attach(game, *view);

    frameNote.setSingleShot(true);
    frameNote.setInterval(kFrameNoteDelayMs);
    connect(&frameNote, &QTimer::timeout, this, &GameFrame::NoteNormalFrame);

    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(qx::Game::kTimerPeriodMs);
    connect(&timer, &QTimer::timeout, this, &GameFrame::OnTimer);
    game.Start(static_cast<uint32_t>(std::time(nullptr)),
               {!settings.ReadEmperorComputer(), !settings.ReadRebelComputer()});

    connect(&pads, &GamepadInput::PauseRequested, this, &GameFrame::OnGamePause);
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
        this, netAsked ? &GameFrame::StartNetworkFromArguments : &GameFrame::OnGameNew,
        Qt::QueuedConnection);
}

GameFrame::~GameFrame() {
    if (!windowRectCaptured) CaptureWindowRect();
    settings.WriteAtExit(savedWindowRect, game.State().emperor.Computer(),
                         game.State().rebel.Computer(), showScore);
    timer.stop();
}

void GameFrame::BuildMenu() {
    QMenu* gameMenu = menuBar()->addMenu(tr("&Hra"));
    gameMenu->addAction(tr("&Nova"), this, &GameFrame::OnGameNew);
    pauseAction = gameMenu->addAction(tr("&Pauza"), this, &GameFrame::OnGamePause);
    pauseAction->setCheckable(true);
    pauseAction->setChecked(paused);
    pauseAction->setShortcuts({QKeySequence(Qt::Key_Pause), QKeySequence(Qt::Key_P)});
    QAction* score = gameMenu->addAction(tr("Zobrazit &skore"));
    score->setCheckable(true);
    score->setChecked(showScore);
    connect(score, &QAction::toggled, this, &GameFrame::OnGameShowScore);
    BuildLanguageMenu(*gameMenu);
    gameMenu->addSeparator();
    gameMenu->addAction(tr("&Ulozit zaznam..."), this, &GameFrame::OnGameSaveReplay);
    replayPlayAction =
        gameMenu->addAction(tr("P&rehrat zaznam..."), &replays, &ReplayController::OnPlay);
    replayPlayAction->setEnabled(!NetworkActive());
    gameMenu->addSeparator();
    gameMenu->addAction(tr("Si&tova hra..."), this, &GameFrame::OnGameNetwork);
    netStopAction =
        gameMenu->addAction(tr("Ukon&cit sitovou hru"), this, &GameFrame::OnGameNetworkStop);
    netStopAction->setEnabled(NetworkActive());
    gameMenu->addSeparator();
    gameMenu->addAction(tr("&Konec"), this, &GameFrame::OnGameExit);
    QMenu* helpMenu = menuBar()->addMenu(tr("&Napoveda"));
    helpMenu->addAction(tr("O&vladani"), this, &GameFrame::OnHelpControls);
    helpMenu->addAction(tr("&O Aplikaci"), this, &GameFrame::OnHelpAbout);
}

// "Jazyk / Language": each language named in itself, so either can be
// found whatever the menu speaks now.
void GameFrame::BuildLanguageMenu(QMenu& gameMenu) {
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
void GameFrame::OnLanguage(Language::Code code) {
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

// Only the stored size takes effect; the window opens centred. The size is
// the outer one, frame included, which is known only once a window manager
// has framed the window (see FitFrame). A stored size too small to play in
// grows to the smallest window with a playable client area.
void GameFrame::PlaceWindow(const StoredRect& stored) {
    const QRect available = AvailableArea();
    outerSize = WindowPosition::StartSize(stored, available.size()).expandedTo(minimumSize());
    resize(outerSize);
    move(WindowPosition::CentredTopLeft(outerSize, available));
}

void GameFrame::FitFrame() {
    if (frameFitted || !isVisible() || !windowHandle()) return;
    const QMargins margins = windowHandle()->frameMargins();
    if (margins.isNull()) return;
    frameFitted = true;
    normalMargins = margins;
    const QSize inner = outerSize.shrunkBy(margins).expandedTo(minimumSize());
    resize(inner);
    move(WindowPosition::CentredTopLeft(inner.grownBy(margins), AvailableArea()));
}

bool GameFrame::Restored() const {
    return (windowState() & ~Qt::WindowActive) == Qt::WindowNoState;
}

// The frame of the restored window: a window manager may draw a maximised
// window with a thinner frame (or none), which must not end up in the
// stored rectangle. It is noted a moment after the window has moved or
// changed size, since a window manager may announce the maximised state
// only after the new frame and size (openbox does).
void GameFrame::NoteNormalFrame() {
    if (!windowHandle() || !Restored()) return;
    const QMargins margins = windowHandle()->frameMargins();
    if (!margins.isNull()) normalMargins = margins;
}

// Under Wayland the window draws its own frame, which exists only once the
// window is shown (after the show event) and brings no move or resize event
// with it.
void GameFrame::setVisible(bool visible) {
    QMainWindow::setVisible(visible);
    if (visible) FitFrame();
}

void GameFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FitFrame();
}

void GameFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    FitFrame();
    frameNote.start();
}

void GameFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FitFrame();
    frameNote.start();
}

// The restored rectangle, frame included, also when the window is maximised
// or minimised.
void GameFrame::CaptureWindowRect() {
    QRect normal = Restored() ? geometry() : normalGeometry();
    if (!normal.isValid()) normal = geometry();
    NoteNormalFrame();
    savedWindowRect = WindowPosition::FromQRect(normal.marginsAdded(normalMargins));
    windowRectCaptured = true;
}

// A minimised window's local game waits until the window is restored: its
// end-of-game box would otherwise pop up over other programs. A network
// game runs on the other machine's clock and cannot wait.
void GameFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    if (isMinimized()) {
        if (!minimisedHold) minimisedHold = HoldLocalGame();
    } else if (minimisedHold) {
        minimisedHold = false;
        ResumeLocalGame();
    }
}

bool GameFrame::HoldLocalGame() {
    if (NetworkActive() || !timer.isActive()) return false;
    timer.stop();
    return true;
}

// The game goes on unless something else stopped it meanwhile (a pause,
// the end of a game, a network game).
void GameFrame::ResumeLocalGame() {
    if (!paused && !NetworkActive() && game.State().timerRunning && !replays.Playing()) {
        timer.start();
    }
}

// The close box, Alt+F4 and "Konec" all end here. While a modal window is
// open the main window cannot be closed.
void GameFrame::closeEvent(QCloseEvent* event) {
    if (modalDepth > 0) {
        event->ignore();
        return;
    }
    CaptureWindowRect();
    event->accept();
}

void GameFrame::OnGameExit() {
    close();
}

void GameFrame::OnGameNew() {
    if (net->Active()) return net->NewGame();
    if (server->Busy()) return;
    game.OnGameNew();
    replays.AfterNewGame();
    view->update();
    UpdateTitle();
}

// Pause and P stop the game's timer and start it again; a pause ends also
// when the game starts its timer itself (a new game).
void GameFrame::OnGamePause() {
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

void GameFrame::OnGameShowScore(bool show) {
    showScore = show;
    UpdateTitle();
}

// "Quarnex 2.00", with the Emperor's and the Rebel's wins when the score is
// shown, and the pause; during a network game the side instead (the waiting
// game's score is not this game's).
void GameFrame::UpdateTitle() {
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
void GameFrame::OnHelpControls() {
    const bool held = HoldLocalGame();
    ControlsDialog dialog(keys, &pads, this);
    if (RunModal(dialog) == QDialog::Accepted && !(dialog.Bindings() == keys)) {
        keys = dialog.Bindings();
        settings.WriteKeys(keys);
    }
    if (held) ResumeLocalGame();
    view->FullRepaint();
}

void GameFrame::OnHelpAbout() {
    AboutDialog dialog(this);
    RunModal(dialog);
    view->FullRepaint();
}

void GameFrame::OnTimer() {
    if (inTick || NetworkActive()) return;
    inTick = true;
    game.OnTimer();
    inTick = false;
    view->UpdateWritten();
    if (showScore && shownWins != std::pair{game.State().emperor.Wins(), game.State().rebel.Wins()})
        UpdateTitle();
}

uint32_t GameFrame::SetGameTimer() {
    timer.start();
    if (paused) {
        paused = false;
        pauseAction->setChecked(false);
        UpdatePadAccess();
        UpdateTitle();
    }
    return qx::Game::kTimerId;
}

void GameFrame::KillGameTimer() {
    timer.stop();
}

// Without a window manager nobody hands the keyboard back to the main
// window when a modal window closes; it takes it back itself.
int GameFrame::RunModal(QDialog& dialog) {
    ++modalDepth;
    UpdatePadAccess();
    heldKeys.BoxOpened(inTick);
    const int result = dialog.exec();
    heldKeys.BoxClosed();
    --modalDepth;
    UpdatePadAccess();
    if (modalDepth == 0 && isVisible()) {
        activateWindow();
        view->setFocus(Qt::ActiveWindowFocusReason);
    }
    return result;
}

// The pads play only while no modal window is open and the game runs; Start
// still ends a pause.
void GameFrame::UpdatePadAccess() {
    using Accepts = GamepadInput::Accepts;
    pads.SetAccepts(modalDepth > 0 || NetworkActive()
                        ? Accepts::Nothing
                        : (paused ? Accepts::PauseOnly : Accepts::Everything));
}

void GameFrame::ShowEndOfGame(const std::string& caption, const std::string& text) {
    view->update();
    UpdateTitle();  // the final score, while the box is open
    QMessageBox box(QMessageBox::NoIcon, GameTexts::Translate(caption), GameTexts::Translate(text),
                    QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    RunModal(box);
}

bool GameFrame::RunNewGameDialog(qx::PlayerChoice& choice) {
    view->update();
    NewGameDialog dialog(choice, this);
    pads.SetAccepts(GamepadInput::Accepts::Nothing);
    pads.Poll();  // pads plugged in since the last look
    if (pads.PadCount() > 0) dialog.ShowPadChoice(pads.FirstPadPlaysEmperor());
    if (RunModal(dialog) != QDialog::Accepted) return false;
    choice = dialog.Choice();
    if (pads.PadCount() > 0) pads.SetFirstPadPlaysEmperor(dialog.FirstPadPlaysEmperor());
    return true;
}

void GameFrame::OnGameNetwork() {
    if (NetworkActive()) return;
    if (replays.Playing()) replays.StopPlayback();
    NetGameDialog dialog(server->DialogSetup(net->LastSetup()), this);
    if (RunModal(dialog) != QDialog::Accepted) return;
    if (dialog.Setup().server != NetSetup::Server::None) {
        server->Start(dialog.Setup());
        return;
    }
    QString error;
    if (!net->Start(dialog.Setup(), error)) {
        QMessageBox box(QMessageBox::Warning, tr("Sitova hra"), error, QMessageBox::Ok, this);
        RunModal(box);
    }
}

void GameFrame::OnGameNetworkStop() {
    net->Stop();
    server->Stop();
}

// "Ulozit zaznam...": the network game's replay while one runs.
void GameFrame::OnGameSaveReplay() {
    if (net->Active()) return net->SaveReplay();
    replays.OnSave();
}

// quarnex --net-host PORT [--side emperor|rebel] or --net-join HOST:PORT.
// When that cannot start, a box says why; the window's own game begins once
// it is closed.
void GameFrame::StartNetworkFromArguments() {
    QString error;
    const auto wanted = NetSetup::FromArguments(QCoreApplication::arguments(), error);
    if (wanted && wanted->server != NetSetup::Server::None) {
        if (server->Start(*wanted)) return;
    } else if (net->StartFromArguments(QCoreApplication::arguments())) {
        return;
    }
    if (QMessageBox* box = net->ProblemBox()) {
        connect(box, &QMessageBox::finished, this, &GameFrame::OnGameNew);
    } else {
        OnGameNew();
    }
}

// The window's own game waits while a network game runs.
void GameFrame::OnNetworkStarted() {
    timer.stop();
    netStopAction->setEnabled(true);
    replayPlayAction->setEnabled(false);
    UpdatePadAccess();
    UpdateTitle();
}

void GameFrame::OnNetworkEnded() {
    netStopAction->setEnabled(false);
    replayPlayAction->setEnabled(true);
    if (game.State().timerRunning && !paused) timer.start();
    UpdatePadAccess();
    UpdateTitle();
    view->setFocus(Qt::ActiveWindowFocusReason);
}
