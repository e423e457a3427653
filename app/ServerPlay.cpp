#include "app/ServerPlay.h"

#include <QMessageBox>
#include <cstdio>
#include <utility>

#include "app/GameView.h"
#include "app/NetPlayController.h"
#include "app/ServerWaitDialog.h"
#include "app/ServerWatch.h"
#include "app/Settings.h"
#include "net/MatchRoom.h"
#include "net/MatchTransport.h"
#include "net/NetEndTexts.h"
#include "net/NetPeer.h"

using qx::net::MatchRequest;
using qx::net::MatchRoom;
using qx::net::RoomRequest;

namespace {

constexpr int kPollMs = 20;
// The server must answer within this; it is said within 5 s.
constexpr qint64 kAskMs = 4500;

MatchRequest RequestOf(const NetSetup& setup) {
    MatchRequest request;
    switch (setup.server) {
        case NetSetup::Server::Create:
            request.kind = MatchRequest::Kind::Create;
            break;
        case NetSetup::Server::Join:
            request.kind = MatchRequest::Kind::Join;
            break;
        case NetSetup::Server::Watch:
            request.kind = MatchRequest::Kind::Watch;
            break;
        case NetSetup::Server::Quick:
        case NetSetup::Server::None:
            request.kind = MatchRequest::Kind::Quick;
            break;
    }
    request.side = setup.side;
    request.code = setup.code.trimmed().toStdString();
    // Always identified, so that the server sends the players' names; a
    // name goes with the key that stands for this player.
    request.identify = true;
    request.name = setup.name.trimmed().toStdString();
    if (!request.name.empty()) request.key = Settings().PlayerKey();
    return request;
}

}  // namespace

ServerPlay::ServerPlay(NetPlayController& controller, GameView& gameView, qx::Game& local,
                       QWidget* parent, ModalOpener opener)
    : QObject(parent),
      net(controller),
      view(gameView),
      localGame(local),
      window(parent),
      open(std::move(opener)) {
    poll.setInterval(kPollMs);
    connect(&poll, &QTimer::timeout, this, &ServerPlay::OnPoll);
    connect(&net, &NetPlayController::Ended, this, &ServerPlay::OnNetEnded);
    connect(&lookup, &NameLookup::Found, this, &ServerPlay::Connect);
    connect(&lookup, &NameLookup::Failed, this,
            [this] { Fail(tr("Server '%1' se nepodarilo najit.").arg(serverHost)); });
}

// The window's view goes before this (it was made first): a game watched
// to the end of the window is not handed back to it.
ServerPlay::~ServerPlay() {
    poll.stop();
}

NetSetup ServerPlay::DialogSetup(const NetSetup& lan) const {
    NetSetup shown = lan;
    if (used) {
        shown.server = setup.server;
        shown.code = setup.code;
        shown.side = setup.side;
    }
    shown.serverAddress = used ? setup.serverAddress : Settings().ReadServer();
    shown.name = Settings().ReadName();
    return shown;
}

bool ServerPlay::Start(const NetSetup& given, std::function<void()> whenFailed) {
    if (Busy() || net.Active()) return false;
    NetSetup wanted = given;
    QString invited;
    QString named;
    if (NetSetup::SplitInvite(given.code, invited, named) && !named.isEmpty()) {
        wanted.code = invited;  // CODE@HOST:PORT: the room is on that server
        wanted.serverAddress = named;
    }
    QString host;
    uint16_t port = NetSetup::kDefaultPort;
    if (!NetSetup::SplitServerAddress(wanted.serverAddress, host, port)) {
        net.ShowProblem(tr("Adresa serveru '%1' neni platna (ocekava se POCITAC:PORT).")
                            .arg(wanted.serverAddress),
                        std::move(whenFailed));
        return false;
    }
    const MatchRequest request = RequestOf(wanted);
    if (request.Encode().empty()) {
        net.ShowProblem(tr("'%1' neni kod hry (kod ma 8 pismen a cislic).").arg(wanted.code),
                        std::move(whenFailed));
        return false;
    }
    // The name chosen in the dialog is kept; without one (the command line)
    // the kept one goes.
    if (wanted.nameGiven) {
        Settings().WriteName(wanted.name);
    } else {
        wanted.name = Settings().ReadName();
    }
    setup = wanted;
    failed = std::move(whenFailed);
    serverHost = host;
    serverPort = port;
    used = true;
    code.clear();
    Settings().WriteServer(wanted.serverAddress);
    SetTitle(tr("pripojuji se k serveru %1").arg(wanted.serverAddress));
    auto* note =
        new ServerWaitDialog(tr("Pripojuji se k serveru %1...").arg(wanted.serverAddress), window);
    waitDialog = note;
    // "Zrusit" gives up; the note closed by what happens next is no cancel.
    open(note, false, [this, note](int result) {
        if (result == QDialog::Rejected && waitDialog == note) Cancel();
    });
    lookup.Start(host);
    emit Started();
    return true;
}

// The server's name is known: the connection starts, with the server's
// time to answer counted from here.
void ServerPlay::Connect(const QString& address) {
    std::string error;
    auto link = qx::net::MatchTransport::Connect(address.toStdString(), serverPort,
                                                 RequestOf(setup), error);
    if (!link) return Fail(tr("Server '%1' se nepodarilo najit.").arg(serverHost));
    socket = link->SocketHandle();
    qx::net::MatchRoomOptions options;
    options.server = setup.serverAddress.toStdString();
    options.answerMs = kAskMs;
    options.handOver = true;           // NetPlayController and ServerWatch run the game
    options.game.peer.hostWaitMs = 0;  // a host waits until the player gives up
    room = std::make_unique<MatchRoom>(std::move(link), options);
    asked.start();
    poll.start();
}

void ServerPlay::OnPoll() {
    if (room) {
        for (const RoomRequest& r : room->Update(static_cast<uint64_t>(asked.elapsed()))) {
            if (r.kind == RoomRequest::Kind::InRoom) return EnterRoom();
            if (r.kind == RoomRequest::Kind::Ended) {
                const qx::net::RoomEnd& end = room->End();
                const QString words = tr(qx::net::RoomEndText(end));
                return Fail(words.contains(QLatin1String("%1"))
                                ? words.arg(QString::fromStdString(end.figure))
                                : words);
            }
        }
        return;
    }
    if (!handed) return poll.stop();
    if (waitDialog && net.Peer() && net.Peer()->Started()) CloseWaitDialog();
}

void ServerPlay::Fail(const QString& message) {
    lookup.Cancel();
    poll.stop();
    room.reset();
    CloseWaitDialog();
    SetTitle({});
    emit Ended();
    net.ShowProblem(message, std::exchange(failed, {}));
}

void ServerPlay::EnterRoom() {
    failed = {};
    code = QString::fromStdString(room->Code());
    if (room->Spectating()) return WatchRoom();
    PlayInRoom();
}

// The room's connection goes to the network game: the creator (and the
// first of a quick match) hosts it with the room's side and seed.
void ServerPlay::PlayInRoom() {
    const qx::net::PeerOptions options = room->GameOptions().peer;
    QString waiting = tr("pripojuji se ke hre %1").arg(code);
    if (options.hosting && setup.server == NetSetup::Server::Create) {
        waiting = tr("cekam na soupere (kod %1)").arg(code);
        waitDialog->SetText(tr("Hra je zalozena. Cekam na soupere..."));
        waitDialog->ShowCode(code);
        // For whoever started the game from a terminal or a script.
        std::fprintf(stderr, "invite %s\n", qPrintable(code));
    } else if (options.hosting) {
        waiting = tr("hledam soupere");
        waitDialog->SetText(tr("Hledam soupere..."));
    } else {
        waitDialog->SetText(tr("Pripojuji se ke hre %1...").arg(code));
    }
    std::unique_ptr<qx::net::MatchConnection> link = room->TakeConnection();
    room.reset();
    handed = link.get();
    SetTitle({});
    emit Ended();  // the network game is NetPlayController's from here
    // The server's silence, or its connection ending, ends the game too.
    net.Play(std::move(link), socket, options, waiting, handed);
}

void ServerPlay::WatchRoom() {
    poll.stop();
    CloseWaitDialog();
    watch = new ServerWatch(room->TakeConnection(), view, this);
    room.reset();
    connect(watch, &ServerWatch::Ended, this, &ServerPlay::OnWatchEnded);
    connect(watch, &ServerWatch::NotesChanged, this,
            [this] { SetTitle(tr("divam se na hru %1").arg(code) + watch->Notes()); });
    SetTitle(tr("divam se na hru %1").arg(code));
}

void ServerPlay::OnNetEnded() {
    if (!handed) return;
    handed = nullptr;
    poll.stop();
    CloseWaitDialog();
}

void ServerPlay::OnWatchEnded(const QString& message) {
    view.ShowGame(localGame);
    watch->deleteLater();  // this runs inside its signal
    watch = nullptr;
    SetTitle({});
    emit Ended();
    if (message.isEmpty()) return;
    open(new QMessageBox(QMessageBox::Information, tr("Sitova hra"), message, QMessageBox::Ok,
                         window),
         false, [](int) {});
}

// "Zrusit" in the note, or "Ukoncit sitovou hru".
void ServerPlay::Cancel() {
    if (lookup.Busy() || room) {
        lookup.Cancel();
        poll.stop();
        room.reset();
        CloseWaitDialog();
        SetTitle({});
        emit Ended();
        if (auto then = std::exchange(failed, {})) then();
    } else if (handed) {
        net.Stop();
    }
}

void ServerPlay::Stop() {
    if (watch) {
        view.ShowGame(localGame);
        watch->deleteLater();
        watch = nullptr;
        SetTitle({});
        emit Ended();
        return;
    }
    Cancel();
}

void ServerPlay::SetTitle(const QString& text) {
    if (text == title) return;
    title = text;
    emit StatusChanged();
}

void ServerPlay::CloseWaitDialog() {
    if (!waitDialog) return;
    QDialog* note = waitDialog;
    waitDialog = nullptr;  // closing is no cancel
    note->close();
}
