#include "net/Pacing.h"

#include <algorithm>
#include <cmath>

#include "net/RollbackSession.h"

namespace qx::net {
namespace {

// How much of each tick's reading goes into the average lead.
constexpr double kLeadWeight = 1.0 / 16;

}  // namespace

uint32_t Pacing::DelayFor(double rttMs, double jitterMs) {
    const double ticks = (rttMs / 2 + jitterMs) / kTickMs - 1;
    return static_cast<uint32_t>(std::clamp<double>(std::ceil(ticks), 0, kMaxDelay));
}

uint32_t Pacing::PredictionFor(double peakRttMs, uint32_t delay) {
    const double ticks = std::ceil(peakRttMs / kTickMs) - delay;
    return static_cast<uint32_t>(std::clamp<double>(ticks, RollbackSession::kDefaultPrediction,
                                                    RollbackSession::kMaxPrediction));
}

void Pacing::Begin(uint32_t startDelay, uint64_t nowMs) {
    delay = wantedDelay = startDelay;
    delayVotes = 0;
    lastDelayCheck = nowMs;
    prediction = RollbackSession::kDefaultPrediction;
    lead = 0;
}

void Pacing::NoteRemote(uint32_t currentTick, int8_t advantage, uint64_t nowMs) {
    if (currentTick > remoteCurrent) {
        remoteCurrent = currentTick;
        remoteCurrentAt = nowMs;
    }
    remoteAdvantage = advantage;
}

int64_t Pacing::RemoteNow(const LinkStats& link, uint64_t nowMs) const {
    const double since = static_cast<double>(nowMs - std::min(nowMs, remoteCurrentAt));
    return remoteCurrent +
           static_cast<int64_t>(std::lround((link.RoundTripMs() / 2 + since) / kTickMs));
}

int8_t Pacing::Advantage(uint32_t current, const LinkStats& link, uint64_t nowMs) const {
    return static_cast<int8_t>(std::clamp<int64_t>(current - RemoteNow(link, nowMs), -100, 100));
}

// A skip takes a tick off this side's lead and adds one to the other's, so
// the average drops by two at once (the readings show it a round trip later).
bool Pacing::ShouldWait(uint32_t current, const LinkStats& link, uint64_t nowMs) {
    if (!link.RoundTripKnown() || current == lastLookedAt) return false;
    lastLookedAt = current;
    const int64_t gap = int64_t{current} - RemoteNow(link, nowMs) - remoteAdvantage;
    lead += (static_cast<double>(gap) - lead) * kLeadWeight;
    if (lead / 2 < 1 || current - lastWaitTick < kMinTicksBetweenWaits) return false;
    lastWaitTick = current;
    lead -= 2;
    return true;
}

void Pacing::Update(uint64_t nowMs, const LinkStats& link) {
    if (!link.RoundTripKnown()) return;
    prediction = PredictionFor(link.PeakRoundTripMs(), delay);
    if (nowMs - lastDelayCheck < kDelayCheckMs) return;
    lastDelayCheck = nowMs;
    const uint32_t want = DelayFor(link.RoundTripMs(), link.JitterMs());
    delayVotes = want == wantedDelay ? delayVotes + 1 : 1;
    wantedDelay = want;
    if (delayVotes >= 2) delay = want;
}

}  // namespace qx::net
