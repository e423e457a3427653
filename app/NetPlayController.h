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

#include "app/ModalOpener.h"
#include "app/NetSetup.h"
#include "game/Game.h"
#include "game/GameInput.h"
#include "net/NetGame.h"

class QLabel;
class QSocketNotifier;

namespace qx::net {
class MatchConnection;
class Transport;
}  // namespace qx::net

// Runs a network game (NetGame) in the main window: connects (hosting or
// joining), hands it the window's clock and the player's inputs (AddInput),
// does what it asks (shows the shared game, draws, opens the end-of-game
// box), updates it every 30 ms and as soon as something arrives, and
// reports the side for the window's title and ping, input delay, rollbacks,
// losses and waiting in a label of its own (which the window places where
// it fits). Every box it shows opens through the window's one way (`open`).
// The window's own game waits meanwhile and goes on when the network game
// ends (Ended: the window shows its own game again). Local events stay local: a resize, an exposure
// or a dialog repaints the shared game from its state and changes nothing in it.
//
// The end of a game shows the end-of-game box on both machines at the same
// tick; the next game starts with the same players once both players have
// closed it. "Nova" starts a new game on both machines at the same tick.
class NetPlayController : public QObject {
    Q_OBJECT

  public:
    NetPlayController(QWidget* window, ModalOpener open);
    ~NetPlayController() override;

    // A network game runs (or waits for the other machine).
    bool Active() const { return game != nullptr; }
    // Starts hosting or joining; false with a message for the player when
    // the port or the address cannot be used.
    bool Start(const NetSetup& setup, QString& error);
    // Plays over a connection made elsewhere (a match server's room, then
    // `server` is that connection, whose silence ends the game too):
    // `socket` is the descriptor to watch, `waiting` the title while the
    // other machine is awaited.
    void Play(std::unique_ptr<qx::net::Transport> link, int socket,
              const qx::net::PeerOptions& options, const QString& waiting,
              const qx::net::MatchConnection* server = nullptr);
    // The player ends the network game.
    void Stop();
    // "Nova" during a network game.
    void NewGame();
    // "Ulozit zaznam..." during a network game: the replay of the ticks
    // both machines have confirmed so far.
    void SaveReplay();
    // Tells the player about a problem with the network game in a box (and
    // on standard error, for whoever started the game from a terminal);
    // `closed` runs once the box is closed.
    void ShowProblem(const QString& text, std::function<void()> closed = {});
    // What the window's title shows about the network game ("" when none):
    // the side, or that it waits for or looks for the other machine.
    QString Title() const { return title; }
    // The network figures ("" when no game runs).
    QLabel* StatusLabel() const { return statusLabel; }
    const NetSetup& LastSetup() const { return setup; }
    // The running network game (null when none).
    qx::net::NetGame* Peer() { return game.get(); }

    // The players' names as the match server sent them, in the words every
    // host uses ("" without a server or before the names came).
    static QString NamesLine(const qx::net::MatchConnection* server);
    // What the title adds through a match server: " - " and the names,
    // and " - " and the server's notice that it is closing, when there.
    static QString ServerNotes(const qx::net::MatchConnection* server);

    // One of the player's inputs (the mouse, the keys, a pad), for the
    // shared game's next tick.
    void AddInput(const qx::GameInput& input);

  signals:
    void Started();
    // The shared game is to be shown from now on, until Ended.
    void GameShown(qx::Game& game);
    // The shared game's screen changed (a tick, a rollback).
    void Drawn();
    // The network game is over; `message` says why when the player did not
    // end it.
    void Ended(const QString& message);
    void StatusChanged();

  private:
    void OnTick();
    void OnReadable();
    void Update();
    void ShowEndBox(const qx::net::NetRequest& request);
    void UpdateStatus(bool force);
    void Finish();
    void CloseInBackground();
    QString EndMessage();
    QString SaveDesyncReplay(const QString& tick);

    QWidget* window;
    ModalOpener open;
    NetSetup setup;
    std::unique_ptr<qx::net::Transport> transport;
    std::unique_ptr<qx::net::NetGame> game;
    const qx::net::MatchConnection* matchServer = nullptr;  // through a server: its connection
    QSocketNotifier* notifier = nullptr;
    QTimer tickTimer;
    QElapsedTimer clock;
    // The last game's connection, closing (its goodbye acknowledged or given
    // up on) away from the window's thread.
    std::future<void> closing;
    QLabel* statusLabel = nullptr;
    QPointer<QMessageBox> endBox;
    QString status;
    QString title;
    QString waitingTitle;
    uint64_t lastStatusAt = 0;
    bool shownWaiting = false;
};
