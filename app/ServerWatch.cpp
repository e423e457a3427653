#include "app/ServerWatch.h"

#include "app/GameView.h"
#include "app/NetPlayController.h"
#include "net/MatchConnection.h"
#include "net/NetEndTexts.h"

using qx::net::NetRequest;

ServerWatch::ServerWatch(std::unique_ptr<qx::net::MatchConnection> connection, GameView& gameView,
                         QObject* parent)
    : QObject(parent),
      link(std::move(connection)),
      view(gameView),
      watch(*link, qx::net::NetWatchOptions{}) {
    clock.start();
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(qx::Game::kTimerPeriodMs);
    connect(&timer, &QTimer::timeout, this, &ServerWatch::OnTimer);
    timer.start();
}

ServerWatch::~ServerWatch() {
    timer.stop();
}

QString ServerWatch::Names() const {
    return NetPlayController::NamesLine(link.get());
}

QString ServerWatch::Notes() const {
    return NetPlayController::ServerNotes(link.get());
}

void ServerWatch::OnTimer() {
    if (ended) return;
    if (Notes() != notes) {
        notes = Notes();
        emit NotesChanged();
    }
    for (const NetRequest& r : watch.Update(static_cast<uint64_t>(clock.elapsed()))) {
        switch (r.kind) {
            case NetRequest::Kind::Begin:
                view.ShowGame(*watch.SharedGame());
                break;
            case NetRequest::Kind::Draw:
                view.UpdateWritten();
                break;
            case NetRequest::Kind::ShowEndBox:
                break;
            case NetRequest::Kind::Ended:
                ended = true;
                timer.stop();
                link->Close(0);  // tells the server at once
                emit Ended(EndMessage());
                return;
        }
    }
}

// The words of the one table every host shows (net/NetEndTexts), translated,
// with the players' names.
QString ServerWatch::EndMessage() const {
    const QString message = tr(qx::net::WatchEndText(watch.End()));
    const QString names = Names();
    return names.isEmpty() ? message : message + QLatin1Char('\n') + names;
}
