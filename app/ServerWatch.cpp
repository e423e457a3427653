#include "app/ServerWatch.h"

#include <algorithm>

#include "app/GameView.h"
#include "net/MatchConnection.h"
#include "net/NetEndOfGame.h"

namespace {

// Silence from the server (not even ENet's keep-alive answers) that means
// it has gone.
constexpr qint64 kServerSilentMs = 4000;
// Ticks behind the feed past which the view plays faster to catch up, and
// how many ticks a timer tick plays then.
constexpr uint32_t kCatchUpBehind = 45;
constexpr uint32_t kCatchUpTicks = 16;
// Nonsense frames after which the feed is given up.
constexpr int kMaxBadFrames = 64;

}  // namespace

ServerWatch::ServerWatch(std::unique_ptr<qx::net::MatchConnection> connection, GameView& gameView,
                         QObject* parent)
    : QObject(parent), link(std::move(connection)), view(gameView) {
    heard.start();
    bytesHeard = link->BytesReceived();
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(qx::Game::kTimerPeriodMs);
    connect(&timer, &QTimer::timeout, this, &ServerWatch::OnTimer);
    timer.start();
}

ServerWatch::~ServerWatch() {
    timer.stop();
}

void ServerWatch::OnTimer() {
    if (ended) return;
    Read();
    if (badFrames > kMaxBadFrames) {
        return End(tr("Ze serveru prichazeji nesmyslne zpravy. Sledovani hry skoncilo."));
    }
    if (!begun && feed.Start()) Begin(feed.Start()->seed);
    if (begun) PlayTicks();
    const uint32_t available =
        std::min(feed.Received(qx::net::NetSide::Emperor), feed.Received(qx::net::NetSide::Rebel));
    if (complete && played >= available) {
        return End(tr("Hra skoncila, prenos ze serveru je u konce."));
    }
    if (!complete && (lost || ServerSilent())) {
        End(tr("Spojeni se serverem se preruslo. Sledovani hry skoncilo."));
    }
}

void ServerWatch::Read() {
    std::vector<uint8_t> data;
    for (;;) {
        switch (link->Poll(data)) {
            case qx::net::LinkEvent::None:
                return;
            case qx::net::LinkEvent::Received:
                if (!feed.Add(data.data(), data.size())) ++badFrames;
                break;
            case qx::net::LinkEvent::Disconnected:
                // The server's "complete" comes first, then it closes.
                if (qx::net::CloseReasonOf(data) == qx::net::LinkClose::Left) complete = true;
                if (!complete) lost = true;
                break;
            case qx::net::LinkEvent::Connected:
                break;
        }
    }
}

// The server answers ENet's keep-alive pings even when the game stands still
// (both players reading the end-of-game box), so total silence means it is gone.
bool ServerWatch::ServerSilent() {
    const uint64_t bytes = link->BytesReceived();
    if (bytes != bytesHeard) {
        bytesHeard = bytes;
        heard.restart();
    }
    return heard.elapsed() > kServerSilentMs;
}

// The game starts as on the players' machines: both sides persons, the
// first full repaint, New game with that choice.
void ServerWatch::Begin(uint32_t seed) {
    begun = true;
    game.Start(seed, qx::net::kNetPlayers);
    game.Repaint();
    game.Apply(qx::GameInput::NewGame(qx::net::kNetPlayers));
    view.ShowGame(game);
}

// One tick a timer tick, as the players play; more while far behind.
void ServerWatch::PlayTicks() {
    const uint32_t available =
        std::min(feed.Received(qx::net::NetSide::Emperor), feed.Received(qx::net::NetSide::Rebel));
    const uint32_t behind = available - played;
    const uint32_t count = behind > kCatchUpBehind ? kCatchUpTicks : 1;
    uint32_t tick = 0;
    qx::net::InputList emperor;
    qx::net::InputList rebel;
    for (uint32_t i = 0; i < count && feed.Next(tick, emperor, rebel); ++i) {
        qx::StepInputs step;
        step.before.assign(emperor.begin(), emperor.end());
        step.before.insert(step.before.end(), rebel.begin(), rebel.end());
        game.Step(step);
        // The end of a game is passed at once, as on the players' machines.
        if (qx::net::EndsGame(game.State())) {
            for (const qx::GameInput& answer : qx::net::EndOfGameAnswers()) game.Apply(answer);
        }
        played = tick;
    }
    view.UpdateWritten();
}

void ServerWatch::End(const QString& message) {
    ended = true;
    timer.stop();
    link.reset();  // tells the server at once
    emit Ended(message);
}
