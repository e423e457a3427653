#pragma once

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>

#include "app/InputRoute.h"
#include "app/NetSetup.h"
#include "game/Game.h"
#include "net/InputList.h"
#include "net/NetReplayRecorder.h"
#include "net/RollbackSession.h"

class GameView;

class QSocketNotifier;

namespace qx::net {
class EnetTransport;
class NetPeer;
}  // namespace qx::net

// Runs a network game in the main window: connects (hosting or joining),
// shows the shared game in the view and takes the player's inputs from it,
// ticks every 30 ms, reads the network as soon as something arrives, and
// reports ping, input delay, rollbacks and losses for the window's title.
// The window's own game waits meanwhile and goes on when the network game
// ends. Local events stay local: a resize, an exposure or a dialog repaints
// the shared game from its state and changes nothing in it.
//
// The end of a game shows the end-of-game box on both machines at the same
// tick; the next game starts with the same players once both players have
// closed it. "Nova" starts a new game on both machines at the same tick.
class NetPlayController : public QObject, public InputRoute, private qx::net::ConfirmedListener {
    Q_OBJECT

  public:
    NetPlayController(GameView& view, qx::Game& localGame, QWidget* window);
    ~NetPlayController() override;

    // A network game runs (or waits for the other machine).
    bool Active() const { return peer != nullptr; }
    // Starts hosting or joining; false with a message for the player when
    // the port or the address cannot be used.
    bool Start(const NetSetup& setup, QString& error);
    // The player ends the network game.
    void Stop();
    // "Nova" during a network game.
    void NewGame();
    // What the window's title shows about the network game ("" when none).
    QString Status() const { return status; }
    const NetSetup& LastSetup() const { return setup; }
    qx::net::NetPeer* Peer() { return peer.get(); }
    // The shared game's end-of-game box while it is open.
    QMessageBox* EndBox() { return endBox; }

    void OnViewInput(const qx::GameInput& input) override;

  signals:
    void Started();
    // The network game is over; `message` says why when the player did not
    // end it.
    void Ended(const QString& message);
    void StatusChanged();

  private:
    void OnConfirmed(uint32_t tick, const qx::net::Frame& frame) override;
    void OnTick();
    void OnReadable();
    void Begin(qx::net::RollbackSession& session);
    void ShowEndBox(uint32_t tick, const qx::net::Frame& frame);
    void UpdateStatus(bool force);
    void Finish();
    QString EndMessage();

    GameView& view;
    qx::Game& localGame;
    QWidget* window;
    NetSetup setup;
    std::unique_ptr<qx::net::EnetTransport> transport;
    std::unique_ptr<qx::net::NetPeer> peer;
    QSocketNotifier* notifier = nullptr;
    QTimer tickTimer;
    QElapsedTimer clock;
    qx::net::InputList collected;
    qx::net::NetReplayRecorder replay;
    bool begun = false;
    QPointer<QMessageBox> endBox;
    qx::net::RollbackSession::Step lastStep = qx::net::RollbackSession::Step::Ran;
    QString status;
    uint64_t lastStatusAt = 0;
    int64_t lastRolledBack = 0;
    double rollbackRate = 0;
    bool shownWaiting = false;
};
