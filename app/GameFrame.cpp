#include "app/GameFrame.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
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
      game(*this) {
    const StoredRect stored = WindowPosition::Parse(settings.ReadPosition());
    showScore = settings.ReadShowScore();

    setWindowTitle(QStringLiteral("Quarnex 2.00"));
    view = new GameView(game, this);
    view->setMinimumSize(kMinClientWidth, kMinClientHeight);
    setCentralWidget(view);
    net = new NetPlayController(*view, game, this);
    connect(net, &NetPlayController::StatusChanged, this, &GameFrame::UpdateTitle);
    // The network figures beside the menu, where they fit at any width.
    menuBar()->setCornerWidget(net->StatusLabel(), Qt::TopRightCorner);
    connect(net, &NetPlayController::Started, this, &GameFrame::OnNetworkStarted);
    connect(net, &NetPlayController::Ended, this, &GameFrame::OnNetworkEnded);
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
    QMenu* gameMenu = menuBar()->addMenu(QStringLiteral("&Hra"));
    gameMenu->addAction(QStringLiteral("&Nova"), this, &GameFrame::OnGameNew);
    pauseAction = gameMenu->addAction(QStringLiteral("&Pauza"), this, &GameFrame::OnGamePause);
    pauseAction->setCheckable(true);
    pauseAction->setShortcuts({QKeySequence(Qt::Key_Pause), QKeySequence(Qt::Key_P)});
    QAction* score = gameMenu->addAction(QStringLiteral("Zobrazit &skore"));
    score->setCheckable(true);
    score->setChecked(showScore);
    connect(score, &QAction::toggled, this, &GameFrame::OnGameShowScore);
    gameMenu->addSeparator();
    gameMenu->addAction(QStringLiteral("&Ulozit zaznam..."), this, &GameFrame::OnGameSaveReplay);
    replayPlayAction = gameMenu->addAction(QStringLiteral("P&rehrat zaznam..."), &replays,
                                           &ReplayController::OnPlay);
    gameMenu->addSeparator();
    gameMenu->addAction(QStringLiteral("Si&tova hra..."), this, &GameFrame::OnGameNetwork);
    netStopAction = gameMenu->addAction(QStringLiteral("Ukon&cit sitovou hru"), this,
                                        &GameFrame::OnGameNetworkStop);
    netStopAction->setEnabled(false);
    gameMenu->addSeparator();
    gameMenu->addAction(QStringLiteral("&Konec"), this, &GameFrame::OnGameExit);
    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Napoveda"));
    helpMenu->addAction(QStringLiteral("O&vladani"), this, &GameFrame::OnHelpControls);
    helpMenu->addAction(QStringLiteral("&O Aplikaci"), this, &GameFrame::OnHelpAbout);
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
    game.OnGameNew();
    replays.AfterNewGame();
    view->update();
    UpdateTitle();
}

// Pause and P stop the game's timer and start it again; a pause ends also
// when the game starts its timer itself (a new game).
void GameFrame::OnGamePause() {
    if (net->Active()) return;  // a network game runs on the other machine's clock too
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
    const bool network = net && !net->Title().isEmpty();
    if (showScore && !network) {
        title += QStringLiteral(" - %1 : %2").arg(shownWins.first).arg(shownWins.second);
    }
    if (paused) title += QStringLiteral(" - pauza");
    if (network) title += QStringLiteral(" - ") + net->Title();
    if (title != windowTitle()) setWindowTitle(title);
}

// The game goes on behind the Controls and About boxes; once they close, a
// full repaint.
void GameFrame::OnHelpControls() {
    ControlsDialog dialog(this);
    RunModal(dialog);
    view->FullRepaint();
}

void GameFrame::OnHelpAbout() {
    AboutDialog dialog(this);
    RunModal(dialog);
    view->FullRepaint();
}

void GameFrame::OnTimer() {
    if (inTick || net->Active()) return;
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
    const int result = dialog.exec();
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
    pads.SetAccepts(modalDepth > 0 || net->Active()
                        ? Accepts::Nothing
                        : (paused ? Accepts::PauseOnly : Accepts::Everything));
}

void GameFrame::ShowEndOfGame(const std::string& caption, const std::string& text) {
    view->update();
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, this);
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
    if (net->Active()) return;
    if (replays.Playing()) replays.StopPlayback();
    NetGameDialog dialog(net->LastSetup(), this);
    if (RunModal(dialog) != QDialog::Accepted) return;
    QString error;
    if (!net->Start(dialog.Setup(), error)) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Sitova hra"), error, QMessageBox::Ok,
                        this);
        RunModal(box);
    }
}

void GameFrame::OnGameNetworkStop() {
    net->Stop();
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
    if (net->StartFromArguments(QCoreApplication::arguments())) return;
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
