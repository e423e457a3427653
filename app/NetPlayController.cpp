#include "app/NetPlayController.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QStandardPaths>

#include "app/GameTexts.h"
#include "app/GameView.h"
#include "net/EnetTransport.h"
#include "net/NetPeer.h"
#include "net/ReplayWriter.h"

using qx::net::NetPeer;
using qx::net::NetSide;
using qx::net::PeerEnd;
using Step = qx::net::RollbackSession::Step;

namespace {

constexpr uint64_t kStatusEveryMs = 500;

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

NetPlayController::NetPlayController(GameView& gameView, qx::Game& local, QWidget* parent)
    : QObject(parent), view(gameView), localGame(local), window(parent) {
    tickTimer.setTimerType(Qt::PreciseTimer);
    tickTimer.setInterval(qx::Game::kTimerPeriodMs);
    connect(&tickTimer, &QTimer::timeout, this, &NetPlayController::OnTick);
}

NetPlayController::~NetPlayController() {
    if (!peer) return;
    peer->Leave();
    peer->Close();
}

bool NetPlayController::Start(const NetSetup& wanted, QString& error) {
    if (Active()) return false;
    std::string problem;
    transport = wanted.hosting
                    ? qx::net::EnetTransport::Listen(wanted.port, problem)
                    : qx::net::EnetTransport::Join(wanted.host.toStdString(), wanted.port, problem);
    if (!transport) {
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
    peer = std::make_unique<NetPeer>(*transport, options);
    begun = false;
    collected.Clear();
    lastRolledBack = 0;
    rollbackRate = 0;
    lastStatusAt = 0;
    lastStep = Step::Ran;
    clock.start();
    notifier = new QSocketNotifier(transport->SocketHandle(), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &NetPlayController::OnReadable);
    tickTimer.start();
    emit Started();
    UpdateStatus(true);
    return true;
}

void NetPlayController::Stop() {
    if (!peer) return;
    peer->Leave();
    Finish();
}

void NetPlayController::NewGame() {
    collected.Add(qx::GameInput::NewGame(qx::PlayerChoice{true, true}));
}

void NetPlayController::OnViewInput(const qx::GameInput& input) {
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
    if (peer->Session() && begun) view.UpdateWritten();
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
    view.UpdateWritten();
    UpdateStatus(false);
}

void NetPlayController::Begin(qx::net::RollbackSession& session) {
    begun = true;
    session.SetListener(this);
    replay.Begin(session.Options().seed, session.FrameOf(0).state);
    view.ShowGame(session.GetGame(), this);
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
        view.setFocus(Qt::ActiveWindowFocusReason);
    });
    endBox->open();
}

// "sitova hra za imperatora: ping 12 ms, zpozdeni 1, navraty 3/s,
// ztraceno 0", twice a second, and at once whether the game waits for the
// other machine.
void NetPlayController::UpdateStatus(bool force) {
    const auto at = static_cast<uint64_t>(clock.elapsed());
    QString text;
    if (peer && !peer->Started()) {
        text = setup.hosting ? tr("cekam na soupere (port %1)").arg(setup.port)
                             : tr("pripojuji se k %1:%2").arg(setup.host).arg(setup.port);
    } else if (peer) {
        const bool waiting = lastStep == Step::TooFarAhead || lastStep == Step::EndUnconfirmed ||
                             (lastStep == Step::EndBoxOpen && !endBox);
        const bool due = at - lastStatusAt >= kStatusEveryMs;
        if (!force && !due && waiting == shownWaiting) return;
        if (due) {
            const int64_t rolled = peer->Session()->Stats().rolledBackTicks;
            rollbackRate = static_cast<double>(rolled - lastRolledBack) * 1000.0 /
                           static_cast<double>(at - lastStatusAt);
            lastRolledBack = rolled;
            lastStatusAt = at;
        }
        const qx::net::PeerFigures f = peer->Figures();
        text = tr("sitova hra za %1: ping %2 ms, zpozdeni %3, navraty %4/s, ztraceno %5")
                   .arg(SideName(peer->LocalSide()))
                   .arg(f.pingMs)
                   .arg(f.inputDelay)
                   .arg(qRound(rollbackRate))
                   .arg(f.packetsLost);
        if (waiting) text += tr(" - cekam na soupere");
        shownWaiting = waiting;
    }
    if (text == status) return;
    status = text;
    emit StatusChanged();
}

QString NetPlayController::EndMessage() {
    const QString tick = QString::number(peer->EndTick());
    switch (peer->End()) {
        case PeerEnd::Desync: {
            QString text = tr("Hry na obou pocitacich se rozesly v tiku %1.").arg(tick);
            std::string error;
            QDir().mkpath(ReplayFolder());
            const QString path =
                ReplayFolder() +
                QStringLiteral("/sitova-hra-%1-tik-%2.qxr")
                    .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")),
                         tick);
            if (qx::SaveReplay(replay.Finish(), path.toStdString(), error)) {
                text += tr("\nZaznam hry je ulozen v souboru %1.").arg(path);
            }
            return text;
        }
        case PeerEnd::Unreachable:
            return tr("Soupere se nepodarilo zastihnout.");
        case PeerEnd::Silent:
            return tr("Souper neodpovida. Sitova hra skoncila.");
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
    const QString message = EndMessage();
    tickTimer.stop();
    notifier->setEnabled(false);
    notifier->deleteLater();  // this may run inside its own signal
    notifier = nullptr;
    if (endBox) endBox->close();
    peer->Close();
    peer.reset();
    transport.reset();
    view.ShowGame(localGame, nullptr);
    UpdateStatus(true);
    emit Ended(message);
    if (message.isEmpty()) return;
    auto* box = new QMessageBox(QMessageBox::Information, tr("Sitova hra"), message,
                                QMessageBox::Ok, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
