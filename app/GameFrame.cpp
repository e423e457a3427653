#include "app/GameFrame.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QWindow>
#include <ctime>

#include "app/AboutDialog.h"
#include "app/NewGameDialog.h"
#include "app/ResourcePixmap.h"
#include "gfx/PictureCatalogue.h"

namespace {

QRect AvailableArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

GameFrame::GameFrame(QWidget* parent) : QMainWindow(parent), game(*this) {
    const StoredRect stored = WindowPosition::Parse(settings.ReadPosition());

    setWindowTitle(QStringLiteral("Quarnex 2.00"));
    view = new GameView(game, this);
    setCentralWidget(view);
    BuildMenu();
    setWindowIcon(QIcon(ResourcePixmap::Icon(qx::picture::kEmperorIcon)));
    PlaceWindow(stored);
    layout()->activate();
    view->SyncSize();

    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(qx::Game::kTimerPeriodMs);
    connect(&timer, &QTimer::timeout, this, &GameFrame::OnTimer);
    game.Start(static_cast<uint32_t>(std::time(nullptr)),
               {!settings.ReadEmperorComputer(), !settings.ReadRebelComputer()});

    // Where no window manager closes the window on Alt+F4, the window does.
    auto* altF4 = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
    connect(altF4, &QShortcut::activated, this, &QWidget::close);

    // The New game command runs as soon as the event loop does.
    QMetaObject::invokeMethod(this, &GameFrame::OnGameNew, Qt::QueuedConnection);
}

GameFrame::~GameFrame() {
    if (!windowRectCaptured) CaptureWindowRect();
    settings.WriteAtExit(savedWindowRect, game.State().emperor.Computer(),
                         game.State().rebel.Computer());
    timer.stop();
}

void GameFrame::BuildMenu() {
    QMenu* gameMenu = menuBar()->addMenu(QStringLiteral("&Hra"));
    gameMenu->addAction(QStringLiteral("&Nova"), this, &GameFrame::OnGameNew);
    gameMenu->addSeparator();
    gameMenu->addAction(QStringLiteral("&Konec"), this, &GameFrame::OnGameExit);
    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Napoveda"));
    helpMenu->addAction(QStringLiteral("&O Aplikaci"), this, &GameFrame::OnHelpAbout);
}

// Only the stored size takes effect; the window opens centred. The size is
// the outer one, frame included, which is known only once a window manager
// has framed the window (see FitFrame).
void GameFrame::PlaceWindow(const StoredRect& stored) {
    const QRect available = AvailableArea();
    outerSize = WindowPosition::StartSize(stored, available.size());
    resize(outerSize);
    move(WindowPosition::CentredTopLeft(outerSize, available));
}

void GameFrame::FitFrame() {
    if (frameFitted || !isVisible() || !windowHandle()) return;
    const QMargins margins = windowHandle()->frameMargins();
    if (margins.isNull()) return;
    frameFitted = true;
    resize(outerSize.shrunkBy(margins));
    move(WindowPosition::CentredTopLeft(outerSize, AvailableArea()));
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
}

void GameFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FitFrame();
}

// The restored rectangle, frame included, also when the window is maximised
// or minimised.
void GameFrame::CaptureWindowRect() {
    QRect normal = normalGeometry();
    if (!normal.isValid()) normal = geometry();
    const QMargins margins = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    savedWindowRect = WindowPosition::FromQRect(normal.marginsAdded(margins));
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
    game.OnGameNew();
    view->update();
}

// The game goes on behind the About box; once it closes, a full repaint.
void GameFrame::OnHelpAbout() {
    AboutDialog dialog(this);
    RunModal(dialog);
    view->FullRepaint();
}

void GameFrame::OnTimer() {
    if (inTick) return;
    inTick = true;
    game.OnTimer();
    inTick = false;
    view->UpdateWritten();
}

uint32_t GameFrame::SetGameTimer() {
    timer.start();
    return qx::Game::kTimerId;
}

void GameFrame::KillGameTimer() {
    timer.stop();
}

int GameFrame::RunModal(QDialog& dialog) {
    ++modalDepth;
    const int result = dialog.exec();
    --modalDepth;
    return result;
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
    if (RunModal(dialog) != QDialog::Accepted) return false;
    choice = dialog.Choice();
    return true;
}
