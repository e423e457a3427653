#include "app/NetPlayController.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QStringList>
#include <array>

#include "app/GameTexts.h"
#include "net/EnetTransport.h"
#include "net/MatchConnection.h"
#include "net/NetEndTexts.h"
#include "replay/ReplayWriter.h"

using qx::net::NetRequest;
using qx::net::NetSide;
using qx::net::PeerEnd;

namespace {

constexpr uint64_t kStatusEveryMs = 500;
// How long a closed connection may take to deliver the goodbye.
constexpr uint32_t kLingerMs = 1000;

QString SideName(NetSide side) {
    return side == NetSide::Emperor ? QCoreApplication::translate("NetPlayController", "imperatora")
                                    : QCoreApplication::translate("NetPlayController", "povstalce");
}

// Where the replays of network games that went apart are kept.
QString ReplayFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Marbek/quarnex");
}

}  // namespace

NetPlayController::NetPlayController(QWidget* parent, ModalOpener opener)
    : QObject(parent), window(parent), open(std::move(opener)) {
    tickTimer.setTimerType(Qt::PreciseTimer);
    tickTimer.setInterval(qx::Game::kTimerPeriodMs);
    connect(&tickTimer, &QTimer::timeout, this, &NetPlayController::OnTick);
    statusLabel = new QLabel(parent);
    statusLabel->setObjectName(QStringLiteral("netStatus"));
    statusLabel->setContentsMargins(8, 0, 8, 0);
    statusLabel->hide();
}

// A window closed during a network game says goodbye; its connection then
// gets the same second as any other to deliver it.
NetPlayController::~NetPlayController() {
    if (notifier) notifier->setEnabled(false);
    if (game) game->Leave();
    CloseInBackground();
    if (closing.valid()) closing.wait();
}

bool NetPlayController::Start(const NetSetup& wanted, QString& error) {
    if (Active()) return false;
    // The last game's connection may still hold the port.
    if (closing.valid()) closing.wait();
    std::string problem;
    auto link = wanted.hosting
                    ? qx::net::EnetTransport::Listen(wanted.port, problem)
                    : qx::net::EnetTransport::Join(wanted.host.toStdString(), wanted.port, problem);
    if (!link) {
        error = wanted.hosting
                    ? tr("Port %1 nelze otevrit (pouziva ho uz jiny program?).").arg(wanted.port)
                    : tr("Pocitac '%1' se nepodarilo najit.").arg(wanted.host);
        return false;
    }
    setup = wanted;
    qx::net::PeerOptions options;
    options.hosting = wanted.hosting;
    options.side = wanted.side;
    options.seed = QRandomGenerator::global()->generate();
    options.hostWaitMs = 0;  // a host waits until the player gives up
    const int socket = link->SocketHandle();
    Play(std::move(link), socket, options, {});
    return true;
}

void NetPlayController::Play(std::unique_ptr<qx::net::Transport> link, int socket,
                             const qx::net::PeerOptions& options, const QString& waiting,
                             const qx::net::MatchConnection* server) {
    if (Active()) return;
    if (closing.valid()) closing.wait();
    transport = std::move(link);
    setup.hosting = options.hosting;
    waitingTitle = waiting;
    qx::net::NetGameOptions gameOptions;
    gameOptions.peer = options;
    gameOptions.tickMs = qx::Game::kTimerPeriodMs;
    game = std::make_unique<qx::net::NetGame>(*transport, gameOptions, server);
    matchServer = server;
    lastStatusAt = 0;
    clock.start();
    notifier = new QSocketNotifier(socket, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &NetPlayController::OnReadable);
    tickTimer.start();
    emit Started();
    UpdateStatus(true);
}

void NetPlayController::ShowProblem(const QString& text, std::function<void()> closed) {
    qWarning("quarnex: %s", qPrintable(text));
    open(new QMessageBox(QMessageBox::Warning, tr("Sitova hra"), text, QMessageBox::Ok, window),
         false, [closed = std::move(closed)](int) {
             if (closed) closed();
         });
}

// The goodbye may need a moment to be acknowledged; the window does not
// wait for it. The connection closes on a thread of its own.
void NetPlayController::CloseInBackground() {
    const bool serverSilent = game && game->End() == PeerEnd::ServerSilent;
    game.reset();
    // A server that went silent takes no goodbye.
    if (serverSilent) transport.reset();
    if (!transport) return;
    if (closing.valid()) closing.wait();
    closing = std::async(std::launch::async, [link = std::move(transport)]() mutable {
        link->Close(kLingerMs);
        link.reset();
    });
}

void NetPlayController::Stop() {
    if (!game) return;
    game->Leave();
    Finish();
}

void NetPlayController::SaveReplay() {
    if (!game || !game->Begun()) {
        ShowProblem(tr("Sitova hra jeste nezacala, neni co ulozit."));
        return;
    }
    // Taken now: the game goes on while the player chooses the file.
    const qx::Replay confirmed = game->TakeReplay();
    const QString name =
        QStringLiteral("sitova-hra-%1.qxr")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm")));
    QDir().mkpath(ReplayFolder());
    QString path = QFileDialog::getSaveFileName(window, tr("Ulozit zaznam"),
                                                QDir(ReplayFolder()).filePath(name),
                                                tr("Zaznamy hry (*.qxr)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".qxr");
    std::string error;
    if (!qx::SaveReplay(confirmed, QFile::encodeName(path).toStdString(), error)) {
        ShowProblem(tr("Zaznam nelze ulozit do souboru %1.").arg(path));
    }
}

void NetPlayController::NewGame() {
    if (game) game->AddInput(qx::GameInput::NewGame(qx::PlayerChoice{true, true}));
}

void NetPlayController::AddInput(const qx::GameInput& input) {
    if (game) game->AddInput(input);
}

// Something arrived: read it at once, so a rollback is shown as early as
// possible.
void NetPlayController::OnReadable() {
    Update();
}

void NetPlayController::OnTick() {
    Update();
}

// What the network game asks for, in order.
void NetPlayController::Update() {
    if (!game) return;
    for (const NetRequest& r : game->Update(static_cast<uint64_t>(clock.elapsed()))) {
        switch (r.kind) {
            case NetRequest::Kind::Begin:
                emit GameShown(*game->SharedGame());
                UpdateStatus(true);
                break;
            case NetRequest::Kind::Draw:
                emit Drawn();
                break;
            case NetRequest::Kind::ShowEndBox:
                if (!endBox) ShowEndBox(r);
                break;
            case NetRequest::Kind::Ended:
                return Finish();
        }
    }
    UpdateStatus(false);
}

// The shared game's end: the box of the window's own game, opened by the
// game in the middle of play (so a key still held from the game does not
// close it); the network keeps running behind it.
void NetPlayController::ShowEndBox(const NetRequest& request) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, GameTexts::Translate(request.caption),
                                GameTexts::Translate(request.text), QMessageBox::Ok, window);
    box->setTextFormat(Qt::PlainText);
    endBox = box;
    open(box, true, [this](int) {
        if (game) game->DismissEnd();
    });
}

// The title says which side this machine plays (or that it waits for or
// looks for the other machine); the label beside the menu says "ping 12 ms,
// zpozdeni 1, navraty 3/s, ztraceno 0", twice a second, and at once whether
// the game waits for the other machine.
void NetPlayController::UpdateStatus(bool force) {
    QString heading;
    QString text;
    if (game && !game->Started()) {
        heading = setup.hosting ? tr("cekam na soupere (port %1)").arg(setup.port)
                                : tr("pripojuji se k %1:%2").arg(setup.host).arg(setup.port);
        if (!waitingTitle.isEmpty()) heading = waitingTitle;
        heading += ServerNotes(matchServer);
    } else if (game) {
        heading = tr("sitova hra za %1").arg(SideName(game->LocalSide()));
        heading += ServerNotes(matchServer);
        const qx::net::NetStatus f = game->Status();
        const bool waiting = f.waiting && !endBox;
        const auto at = static_cast<uint64_t>(clock.elapsed());
        if (!force && at - lastStatusAt < kStatusEveryMs && waiting == shownWaiting &&
            heading == title) {
            return;
        }
        lastStatusAt = at;
        shownWaiting = waiting;
        text = tr("ping %1 ms, zpozdeni %2, navraty %3/s, ztraceno %4")
                   .arg(f.pingMs)
                   .arg(f.inputDelay)
                   .arg(qRound(f.rollbacksPerSecond))
                   .arg(f.packetsLost);
        if (waiting) text += tr(" - cekam na soupere");
    }
    if (!force && text == status && heading == title) return;
    status = text;
    title = heading;
    statusLabel->setText(status);
    statusLabel->setHidden(status.isEmpty());
    emit StatusChanged();
}

// Kept only when this machine began the game (and so recorded its start): a
// difference reported before that leaves nothing that could be played back.
QString NetPlayController::SaveDesyncReplay(const QString& tick) {
    if (!game->Begun()) return {};
    std::string error;
    QDir().mkpath(ReplayFolder());
    const QString path =
        ReplayFolder() +
        QStringLiteral("/sitova-hra-%1-tik-%2.qxr")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")), tick);
    if (!qx::SaveReplay(game->TakeReplay(), QFile::encodeName(path).toStdString(), error)) {
        return {};
    }
    return tr("\nZaznam hry je ulozen v souboru %1.").arg(path);
}

QString NetPlayController::NamesLine(const qx::net::MatchConnection* server) {
    if (!server || !server->Client().HasNames()) return {};
    const std::array<std::string, 2>& names = server->Client().Names();
    if (names[0].empty() && names[1].empty()) return {};  // nobody named: nothing to say
    QStringList shown;
    for (const std::string& name : names) {
        shown << (name.empty() ? QCoreApplication::translate("ServerPlay", qx::net::NoNameText())
                               : QString::fromStdString(name));
    }
    return QCoreApplication::translate("ServerPlay", qx::net::NamesText()).arg(shown[0], shown[1]);
}

QString NetPlayController::ServerNotes(const qx::net::MatchConnection* server) {
    QString notes;
    const QString names = NamesLine(server);
    if (!names.isEmpty()) notes += QStringLiteral(" - ") + names;
    if (server && server->Client().ClosingNotices() > 0) {
        notes += QStringLiteral(" - ") +
                 QCoreApplication::translate("ServerPlay", qx::net::ClosingText())
                     .arg(server->Client().ClosingSeconds());
    }
    return notes;
}

// The words of the one table every host shows (net/NetEndTexts), translated,
// with the players' names when the server sent them.
QString NetPlayController::EndMessage() {
    const char* text = qx::net::EndText(game->End(), setup.hosting);
    if (!text) return {};
    const QString tick = QString::number(game->EndTick());
    QString message = tr(text);
    if (game->End() == PeerEnd::Desync) {
        message = message.arg(tick) + SaveDesyncReplay(tick);
    } else if (game->End() == PeerEnd::Full) {
        message = message.arg(setup.host);
    }
    const QString names = NamesLine(matchServer);
    return names.isEmpty() ? message : message + QLatin1Char('\n') + names;
}

// Back to the window's own game, which goes on where it stood.
void NetPlayController::Finish() {
    const QString message = EndMessage();
    matchServer = nullptr;  // it closes with the game's connection
    tickTimer.stop();
    notifier->setEnabled(false);
    notifier->deleteLater();  // this may run inside its own signal
    notifier = nullptr;
    if (endBox) endBox->close();
    CloseInBackground();
    UpdateStatus(true);
    emit Ended(message);
    if (message.isEmpty()) return;
    open(new QMessageBox(QMessageBox::Information, tr("Sitova hra"), message, QMessageBox::Ok,
                         window),
         false, [](int) {});
}
