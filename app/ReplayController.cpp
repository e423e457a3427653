#include "app/ReplayController.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

#include "app/GameView.h"
#include "app/ReplayMessages.h"
#include "replay/ReplayCheck.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayWriter.h"

namespace {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

ReplayController::ReplayController(QWidget* window) : window(window) {}

ReplayController::~ReplayController() {
    qApp->removeEventFilter(this);
}

void ReplayController::Attach(qx::Game& watched, GameView& gameView) {
    game = &watched;
    view = &gameView;
    game->SetObserver(&recorder);
}

void ReplayController::AfterNewGame() {
    if (game) recorder.EndStartUp(game->State());
}

QString ReplayController::Filter() {
    return tr("Zaznamy hry (*.qxr);;Vsechny soubory (*)");
}

QString ReplayController::StartFolder() const {
    if (!lastFolder.isEmpty()) return lastFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

// The record is taken when the command is chosen: the game goes on behind
// the file dialog.
void ReplayController::OnSave() {
    if (!game) return;
    const qx::Replay replay = recorder.Finish(game->State());
    const QString name = QStringLiteral("quarnex-%1.qxr")
                             .arg(QDateTime::currentDateTime().toString("yyyyMMdd-HHmm"));
    QString path = QFileDialog::getSaveFileName(window, tr("Ulozit zaznam"),
                                                QDir(StartFolder()).filePath(name), Filter());
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".qxr");
    std::string error;
    if (!qx::SaveReplay(replay, LocalPath(path), error)) {
        QMessageBox::warning(window, tr("Ulozit zaznam"), ReplayMessages::CannotSave(path));
        return;
    }
    lastFolder = QFileInfo(path).absolutePath();
}

bool ReplayController::SaveTo(const QString& path) {
    if (!game) return false;
    std::string error;
    if (qx::SaveReplay(recorder.Finish(game->State()), LocalPath(path), error)) return true;
    QMessageBox::warning(window, tr("Ulozit zaznam"), ReplayMessages::CannotSave(path));
    return false;
}

void ReplayController::OnPlay() {
    const QString path =
        QFileDialog::getOpenFileName(window, tr("Prehrat zaznam"), StartFolder(), Filter());
    if (path.isEmpty()) return;
    lastFolder = QFileInfo(path).absolutePath();
    PlayFrom(path);
}

// A replay is read and played through without drawing before it is shown,
// so a bad file changes nothing and a good one plays to its end.
bool ReplayController::PlayFrom(const QString& path) {
    if (!game || !view) return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qx::ReplayError error;
    std::optional<qx::Replay> replay = qx::LoadReplay(LocalPath(path), error);
    if (replay) error = qx::CheckReplay(*replay);
    QApplication::restoreOverrideCursor();
    if (error) {
        QMessageBox::warning(window, tr("Prehrat zaznam"), ReplayMessages::CannotPlay(error));
        return false;
    }
    StopPlayback();
    StartPlayback(std::move(*replay));
    return true;
}

// The window's game stands still while the replay plays (the window stops
// it when told); a paused game stays paused.
void ReplayController::StartPlayback(qx::Replay replay) {
    playback = std::make_unique<ReplayPlayback>(std::move(replay), *view);
    connect(playback.get(), &ReplayPlayback::Finished, this, &ReplayController::StopPlayback,
            Qt::QueuedConnection);
    connect(playback.get(), &ReplayPlayback::Stepped, this, &ReplayController::PlaybackStepped);
    qApp->installEventFilter(this);
    emit PlaybackStarted();
}

void ReplayController::StopPlayback() {
    if (!playback) return;
    if (!swallowKey) qApp->removeEventFilter(this);
    // The view being deleted may be the one handling the key or click that
    // ended the playback.
    playback.release()->deleteLater();
    if (view) {
        view->ShowGame(*game);
        view->setFocus();
    }
    emit PlaybackStopped();
}

// While a replay plays: a key or a click anywhere in the program ends it
// (a click on the menu bar still opens the menu). A key is taken before it can be a shortcut
// (Pause, Alt+F4) and never reaches the game.
bool ReplayController::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            if (!playback) return false;
            event->accept();
            swallowKey = true;
            StopPlayback();
            return true;
        case QEvent::KeyPress:
            if (!playback && !swallowKey) return false;
            swallowKey = false;
            StopPlayback();
            qApp->removeEventFilter(this);
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            if (!playback) return false;
            const bool onGame = watched == view;
            StopPlayback();
            return onGame;
        }
        default:
            return false;
    }
}
