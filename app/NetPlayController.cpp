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

#include "app/GameTexts.h"
#include "net/EnetTransport.h"
#include "net/NetPeer.h"
#include "replay/ReplayWriter.h"

using qx::net::NetPeer;
using qx::net::NetSide;
using qx::net::PeerEnd;
using Step = qx::net::RollbackSession::Step;

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

NetPlayController::NetPlayController(QWidget* parent) : QObject(parent), window(parent) {
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
    if (peer) peer->Leave();
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
                             const qx::net::PeerOptions& options, const QString& waiting) {
    if (Active()) return;
    if (closing.valid()) closing.wait();
    transport = std::move(link);
    setup.hosting = options.hosting;
    waitingTitle = waiting;
    peer = std::make_unique<NetPeer>(*transport, options);
    begun = false;
    replay = {};
    collected.Clear();
    lastRolledBack = 0;
    rollbackRate = 0;
    lastStatusAt = 0;
    lastStep = Step::Ran;
    clock.start();
    notifier = new QSocketNotifier(socket, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &NetPlayController::OnReadable);
    tickTimer.start();
    emit Started();
    UpdateStatus(true);
}

bool NetPlayController::StartFromArguments(const QStringList& arguments) {
    QString error;
    const auto wanted = NetSetup::FromArguments(arguments, error);
    if (wanted && Start(*wanted, error)) return true;
    if (error.isEmpty()) return false;
    qWarning("quarnex: %s", qPrintable(error));
    ShowProblem(error);
    return false;
}

QMessageBox* NetPlayController::ShowProblem(const QString& text) {
    auto* box =
        new QMessageBox(QMessageBox::Warning, tr("Sitova hra"), text, QMessageBox::Ok, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    problemBox = box;
    return box;
}

// The goodbye may need a moment to be acknowledged; the window does not
// wait for it. The connection closes on a thread of its own.
void NetPlayController::CloseInBackground() {
    peer.reset();
    if (!transport) return;
    if (closing.valid()) closing.wait();
    closing = std::async(std::launch::async, [link = std::move(transport)]() mutable {
        link->Close(kLingerMs);
        link.reset();
    });
}

void NetPlayController::Stop() {
    if (!peer) return;
    peer->Leave();
    Finish();
}

void NetPlayController::SaveReplay() {
    if (!begun) {
        ShowProblem(tr("Sitova hra jeste nezacala, neni co ulozit."));
        return;
    }
    // Taken now: the game goes on while the player chooses the file.
    const qx::Replay confirmed = replay.Finish();
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
    collected.Add(qx::GameInput::NewGame(qx::PlayerChoice{true, true}));
}

void NetPlayController::AddInput(const qx::GameInput& input) {
    if (input.kind == qx::InputKind::Target) {
        collected.AddTarget(input.x, input.y);
    } else {
        collected.Add(input);
    }
}

void NetPlayController::OnConfirmed(uint32_t, const qx::net::Frame& frame) {
    replay.Add(frame);
}

// Something arrived: read it at once, so a rollback is shown as early as
// possible.
void NetPlayController::OnReadable() {
    if (!peer) return;
    peer->Pump(static_cast<uint64_t>(clock.elapsed()));
    if (peer->Ended()) return Finish();
    if (peer->Session() && begun) emit Drawn();
}

void NetPlayController::OnTick() {
    if (!peer) return;
    const auto now = static_cast<uint64_t>(clock.elapsed());
    peer->Pump(now);
    if (peer->Ended()) return Finish();
    qx::net::RollbackSession* session = peer->Session();
    if (!session) return UpdateStatus(false);
    if (!begun) Begin(*session);
    if (const uint32_t end = session->OpenEnd(); end != 0 && !endBox) {
        ShowEndBox(end, session->FrameOf(end));
    }
    while (peer->WantsLocalInput()) {
        if (!session->AddLocalInput(collected)) break;
        collected.Clear();
    }
    if (!peer->ShouldWaitForOther()) lastStep = peer->Advance(now);
    if (peer->Ended()) return Finish();
    emit Drawn();
    UpdateStatus(false);
}

void NetPlayController::Begin(qx::net::RollbackSession& session) {
    begun = true;
    session.SetListener(this);
    replay.Begin(session.Options().seed, session.FrameOf(0).state);
    emit GameShown(session.GetGame());
    UpdateStatus(true);
}

// The shared game's end: the box of the window's own game, except that it
// does not stop the event loop (the network keeps running behind it).
void NetPlayController::ShowEndBox(uint32_t, const qx::net::Frame& frame) {
    endBox = new QMessageBox(QMessageBox::NoIcon, GameTexts::Translate(frame.endCaption),
                             GameTexts::Translate(frame.endText), QMessageBox::Ok, window);
    endBox->setTextFormat(Qt::PlainText);
    endBox->setAttribute(Qt::WA_DeleteOnClose);
    connect(endBox, &QMessageBox::finished, this, [this] {
        if (peer && peer->Session()) peer->Session()->DismissEnd();
        emit EndBoxClosed();
    });
    endBox->open();
}

// The title says which side this machine plays (or that it waits for or
// looks for the other machine); the label beside the menu says "ping 12 ms,
// zpozdeni 1, navraty 3/s, ztraceno 0", twice a second, and at once whether
// the game waits for the other machine.
void NetPlayController::UpdateStatus(bool force) {
    const auto at = static_cast<uint64_t>(clock.elapsed());
    QString heading;
    QString text;
    if (peer && !peer->Started()) {
        heading = setup.hosting ? tr("cekam na soupere (port %1)").arg(setup.port)
                                : tr("pripojuji se k %1:%2").arg(setup.host).arg(setup.port);
        if (!waitingTitle.isEmpty()) heading = waitingTitle;
    } else if (peer) {
        heading = tr("sitova hra za %1").arg(SideName(peer->LocalSide()));
        const bool waiting = lastStep == Step::TooFarAhead || lastStep == Step::EndUnconfirmed ||
                             (lastStep == Step::EndBoxOpen && !endBox);
        const bool due = at - lastStatusAt >= kStatusEveryMs;
        if (!force && !due && waiting == shownWaiting && heading == title) return;
        if (due) {
            const int64_t rolled = peer->Session()->Stats().rolledBackTicks;
            rollbackRate = static_cast<double>(rolled - lastRolledBack) * 1000.0 /
                           static_cast<double>(at - lastStatusAt);
            lastRolledBack = rolled;
            lastStatusAt = at;
        }
        const qx::net::PeerFigures f = peer->Figures();
        text = tr("ping %1 ms, zpozdeni %2, navraty %3/s, ztraceno %4")
                   .arg(f.pingMs)
                   .arg(f.inputDelay)
                   .arg(qRound(rollbackRate))
                   .arg(f.packetsLost);
        if (waiting) text += tr(" - cekam na soupere");
        shownWaiting = waiting;
    }
    if (text == status && heading == title) return;
    status = text;
    title = heading;
    statusLabel->setText(status);
    statusLabel->setHidden(status.isEmpty());
    emit StatusChanged();
}

// Kept only when this machine began the game (and so recorded its start): a
// difference reported before that leaves nothing that could be played back.
QString NetPlayController::SaveDesyncReplay(const QString& tick) {
    if (!begun) return {};
    std::string error;
    QDir().mkpath(ReplayFolder());
    const QString path =
        ReplayFolder() +
        QStringLiteral("/sitova-hra-%1-tik-%2.qxr")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")), tick);
    if (!qx::SaveReplay(replay.Finish(), QFile::encodeName(path).toStdString(), error)) return {};
    return tr("\nZaznam hry je ulozen v souboru %1.").arg(path);
}

QString NetPlayController::EndMessage() {
    const QString tick = QString::number(peer->EndTick());
    switch (peer->End()) {
        case PeerEnd::Desync:
            return tr("Hry na obou pocitacich se rozesly v tiku %1.").arg(tick) +
                   SaveDesyncReplay(tick);
        case PeerEnd::Unreachable:
            return setup.hosting ? tr("K teto hre se nikdo nepripojil.")
                                 : tr("Soupere se nepodarilo zastihnout.");
        case PeerEnd::Full:
            return tr("Na pocitaci %1 uz se hraje s jinym souperem.").arg(setup.host);
        case PeerEnd::OtherVersion:
            return tr("Souper ma jinou verzi hry.");
        case PeerEnd::Silent:
            return tr("Souper neodpovida. Sitova hra skoncila.");
        case PeerEnd::Garbled:
            return tr(
                "Od soupere prichazeji jen nesmyslne zpravy. Sitova hra "
                "skoncila.");
        case PeerEnd::Refused:
            return tr(
                "Souperuv pocitac odmitl zpravy tohoto pocitace. Sitova hra "
                "skoncila.");
        case PeerEnd::Left:
            return tr("Souper ukoncil sitovou hru.");
        case PeerEnd::Done:
        case PeerEnd::Quit:
        case PeerEnd::None:
            break;
    }
    return {};
}

// Back to the window's own game, which goes on where it stood.
void NetPlayController::Finish() {
    QString message = explainer ? explainer(peer->End()) : QString();
    if (message.isEmpty()) message = EndMessage();
    tickTimer.stop();
    notifier->setEnabled(false);
    notifier->deleteLater();  // this may run inside its own signal
    notifier = nullptr;
    if (endBox) endBox->close();
    CloseInBackground();
    UpdateStatus(true);
    emit Ended(message);
    if (message.isEmpty()) return;
    auto* box = new QMessageBox(QMessageBox::Information, tr("Sitova hra"), message,
                                QMessageBox::Ok, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
