#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/ModalOpener.h"
#include "app/NameLookup.h"
#include "app/NetSetup.h"
#include "app/ServerWaitDialog.h"

class GameView;
class NetPlayController;
class ServerWatch;

namespace qx {
class Game;
}  // namespace qx

namespace qx::net {
class MatchConnection;
class MatchRoom;
}  // namespace qx::net

// Network play through a match server: looks its name up (the window goes
// on meanwhile, and Cancel works), asks it for a room (create, join by
// invite code, quick match, watch by code) without blocking the window, in
// a note that shows what happens (and a created room's code) and can cancel
// it; then plays the game through NetPlayController over the room's
// connection, or watches it (ServerWatch). Problems are said in plain
// words: an unknown code, a full room, too many attempts, a full server, a
// server that cannot be reached (within 5 s) or went away during the game
// (said within 5 s). Its note and boxes open through the window's one way
// (`open`).
class ServerPlay : public QObject {
    Q_OBJECT

  public:
    ServerPlay(NetPlayController& net, GameView& view, qx::Game& localGame, QWidget* window,
               ModalOpener open);
    ~ServerPlay() override;

    // Starts asking the server (the one a CODE@HOST:PORT names, if it
    // does); false when it cannot (a box says why). `failed` runs when no
    // game comes of it (once the box that says why is closed, or when the
    // player gave up asking).
    bool Start(const NetSetup& setup, std::function<void()> failed = {});
    // Gives up asking, or stops watching (a game being played is stopped
    // through NetPlayController).
    void Stop();
    // The server is being looked up or asked, or a game watched.
    bool Busy() const { return lookup.Busy() || room != nullptr || watch != nullptr; }
    // What the window's title shows while busy ("" otherwise).
    QString Title() const { return title; }
    // The room's invite code once the server has given it.
    QString InviteCode() const { return code; }
    // The dialog's fields: the LAN ones as given, with the server ones of the
    // last game through a server (or the stored server address).
    NetSetup DialogSetup(const NetSetup& lan) const;
    ServerWaitDialog* WaitDialog() const { return waitDialog; }
    ServerWatch* Watch() const { return watch; }

  signals:
    // Busy() turns on and off.
    void Started();
    void Ended();
    void StatusChanged();

  private:
    void Connect(const QString& address);
    void OnPoll();
    void EnterRoom();
    void PlayInRoom();
    void WatchRoom();
    void Fail(const QString& message);
    void OnNetEnded();
    void OnWatchEnded(const QString& message);
    void Cancel();
    void SetTitle(const QString& text);
    void CloseWaitDialog();

    NetPlayController& net;
    GameView& view;
    qx::Game& localGame;
    QWidget* window;
    ModalOpener open;
    NetSetup setup;
    std::function<void()> failed;  // while asking
    NameLookup lookup;
    QString serverHost;  // as given, for the messages
    uint16_t serverPort = NetSetup::kDefaultPort;
    bool used = false;                           // a game went through a server since the start
    std::unique_ptr<qx::net::MatchRoom> room;    // while asking
    int socket = -1;                             // the room's connection's, to watch
    qx::net::MatchConnection* handed = nullptr;  // the room's link, NetPlayController's now
    ServerWatch* watch = nullptr;
    QPointer<ServerWaitDialog> waitDialog;
    QTimer poll;
    QElapsedTimer asked;  // since asking began
    QString code;
    QString title;
};
