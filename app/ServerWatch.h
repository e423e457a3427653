#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "net/NetWatch.h"

class GameView;

namespace qx::net {
class MatchConnection;
}  // namespace qx::net

// A game watched through the match server in the window: the room's feed
// played by NetWatch (as every host plays it) on the window's 30 ms clock
// and shown in the window's view, as the players' machines play it. The
// server keeps the feed about a second behind the players; a spectator who
// comes late catches up. The viewer's keys and mouse change nothing.
// Ended() comes once the whole feed has been played, or when the server
// went away (nothing heard from it for 5 s) or sends nonsense.
class ServerWatch : public QObject {
    Q_OBJECT

  public:
    ServerWatch(std::unique_ptr<qx::net::MatchConnection> link, GameView& view, QObject* parent);
    ~ServerWatch() override;

    // The ticks played so far, and the game they were played on.
    uint32_t PlayedTick() const { return watch.Tick(); }
    const qx::Game& Watched() const { return watch.Session()->GetGame(); }
    bool Begun() const { return watch.Begun(); }
    // The players' names once the server sent them ("" before).
    QString Names() const;
    // What the title adds: the names, the server's closing notice.
    QString Notes() const;

  signals:
    // The feed is over; `message` says how.
    void Ended(const QString& message);
    // The players' names came, or the server said it is closing (Notes()).
    void NotesChanged();

  private:
    void OnTimer();
    QString EndMessage() const;

    std::unique_ptr<qx::net::MatchConnection> link;
    GameView& view;
    qx::net::NetWatch watch;
    QTimer timer;
    QElapsedTimer clock;
    bool ended = false;
    QString notes;
};
