#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "game/Game.h"
#include "net/SpectatorFeed.h"

class GameView;

namespace qx::net {
class MatchConnection;
}  // namespace qx::net

// A game watched through the match server: the room's feed (the host's
// start, then both sides' inputs tick by tick) played on a game of its own
// and shown in the window's view, as the players' machines play it. The
// server keeps the feed about a second behind the players; a spectator who
// comes late catches up from the first tick at up to 16 ticks a timer tick.
// The viewer's keys and mouse change nothing. Ended() comes once the whole
// feed has been played, or when the server went away (nothing heard from it
// for 4 s) or sends nonsense.
class ServerWatch : public QObject {
    Q_OBJECT

  public:
    ServerWatch(std::unique_ptr<qx::net::MatchConnection> link, GameView& view, QObject* parent);
    ~ServerWatch() override;

    // The ticks played so far, and the game they were played on.
    uint32_t PlayedTick() const { return played; }
    const qx::Game& Watched() const { return game; }
    bool Begun() const { return begun; }

  signals:
    // The feed is over; `message` says how.
    void Ended(const QString& message);

  private:
    void OnTimer();
    void Read();
    bool ServerSilent();
    void Begin(uint32_t seed);
    void PlayTicks();
    void End(const QString& message);

    std::unique_ptr<qx::net::MatchConnection> link;
    GameView& view;
    qx::Game game;
    qx::net::SpectatorFeed feed;
    QTimer timer;
    QElapsedTimer heard;  // since anything last came from the server
    uint64_t bytesHeard = 0;
    uint32_t played = 0;
    int badFrames = 0;
    bool begun = false;
    bool complete = false;  // the server said the feed is complete
    bool lost = false;      // the connection to the server ended before that
    bool ended = false;
};
