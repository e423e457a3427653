#pragma once

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <future>
#include <memory>

#include "app/NetSetup.h"
#include "game/Game.h"
#include "game/GameInput.h"
#include "net/InputList.h"
#include "net/NetReplayRecorder.h"
#include "net/RollbackSession.h"

class QLabel;
class QSocketNotifier;

namespace qx::net {
class NetPeer;
class Transport;
enum class PeerEnd;
struct PeerOptions;
}  // namespace qx::net

// Runs a network game in the main window: connects (hosting or joining),
// has the shared game shown (GameShown) and takes the player's inputs
// (AddInput), ticks every 30 ms, reads the network as soon as something arrives, and
// reports the side for the window's title and ping, input delay, rollbacks,
// losses and waiting in a label of its own (which the window places where
// it fits).
// The window's own game waits meanwhile and goes on when the network game
// ends (Ended: the window shows its own game again). Local events stay local: a resize, an exposure
// or a dialog repaints the shared game from its state and changes nothing in it.
//
// The end of a game shows the end-of-game box on both machines at the same
// tick; the next game starts with the same players once both players have
// closed it. "Nova" starts a new game on both machines at the same tick.
class NetPlayController : public QObject, private qx::net::ConfirmedListener {
    Q_OBJECT

  public:
    explicit NetPlayController(QWidget* window);
    ~NetPlayController() override;

    // A network game runs (or waits for the other machine).
    bool Active() const { return peer != nullptr; }
    // Starts hosting or joining; false with a message for the player when
    // the port or the address cannot be used.
    bool Start(const NetSetup& setup, QString& error);
    // The same from the command line (--net-host PORT [--side ...] or
    // --net-join HOST:PORT); false when the command line asks for none.
    // Wrong arguments or a port that cannot be used are shown in a message
    // box (and on standard error).
    bool StartFromArguments(const QStringList& arguments);
    // Plays over a connection made elsewhere (a match server's room):
    // `socket` is the descriptor to watch, `waiting` the title while the
    // other machine is awaited.
    void Play(std::unique_ptr<qx::net::Transport> link, int socket,
              const qx::net::PeerOptions& options, const QString& waiting);
    // Words of its own for why a game ended, asked before the usual ones
    // (empty: the usual ones): the connection may know better.
    void SetEndExplainer(std::function<QString(qx::net::PeerEnd)> explain) {
        explainer = std::move(explain);
    }
    // The player ends the network game.
    void Stop();
    // "Nova" during a network game.
    void NewGame();
    // "Ulozit zaznam..." during a network game: the replay of the ticks
    // both machines have confirmed so far.
    void SaveReplay();
    // Tells the player about a problem with the network game, without
    // stopping the event loop; the box deletes itself when closed.
    QMessageBox* ShowProblem(const QString& text);
    // The box of the last problem while it is open.
    QMessageBox* ProblemBox() { return problemBox; }
    // What the window's title shows about the network game ("" when none):
    // the side, or that it waits for or looks for the other machine.
    QString Title() const { return title; }
    // The network figures ("" when no game runs), also shown in StatusLabel().
    QString Status() const { return status; }
    QLabel* StatusLabel() const { return statusLabel; }
    const NetSetup& LastSetup() const { return setup; }
    qx::net::NetPeer* Peer() { return peer.get(); }
    // The shared game's end-of-game box while it is open.
    QMessageBox* EndBox() { return endBox; }

    // One of the player's inputs (the mouse, the keys, a pad), for the
    // shared game's next tick.
    void AddInput(const qx::GameInput& input);

  signals:
    void Started();
    // The shared game is to be shown from now on, until Ended.
    void GameShown(qx::Game& game);
    // The shared game's screen changed (a tick, a rollback).
    void Drawn();
    // The shared game's end-of-game box closed: the keys go back to the game.
    void EndBoxClosed();
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
    void CloseInBackground();
    QString EndMessage();
    QString SaveDesyncReplay(const QString& tick);

    QWidget* window;
    NetSetup setup;
    std::unique_ptr<qx::net::Transport> transport;
    std::unique_ptr<qx::net::NetPeer> peer;
    QSocketNotifier* notifier = nullptr;
    QTimer tickTimer;
    QElapsedTimer clock;
    qx::net::InputList collected;
    qx::net::NetReplayRecorder replay;
    // The last game's connection, closing (its goodbye acknowledged or given
    // up on) away from the window's thread.
    std::future<void> closing;
    QLabel* statusLabel = nullptr;
    bool begun = false;
    QPointer<QMessageBox> endBox;
    QPointer<QMessageBox> problemBox;
    qx::net::RollbackSession::Step lastStep = qx::net::RollbackSession::Step::Ran;
    QString status;
    QString title;
    QString waitingTitle;
    std::function<QString(qx::net::PeerEnd)> explainer;
    uint64_t lastStatusAt = 0;
    int64_t lastRolledBack = 0;
    double rollbackRate = 0;
    bool shownWaiting = false;
};
