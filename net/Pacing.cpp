#include "net/Pacing.h"

#include <algorithm>
#include <cmath>

namespace qx::net {

uint32_t Pacing::DelayFor(double rttMs) {
    if (rttMs < 40) return 0;
    if (rttMs < 100) return 1;
    return 2;
}

void Pacing::Begin(uint32_t startDelay, uint64_t nowMs) {
    delay = wantedDelay = startDelay;
    delayVotes = 0;
    lastDelayCheck = nowMs;
}

void Pacing::NoteRemote(uint32_t currentTick, int8_t advantage) {
    remoteCurrent = std::max(remoteCurrent, currentTick);
    remoteAdvantage = advantage;
}

int64_t Pacing::RemoteNow(const LinkStats& link) const {
    return remoteCurrent + static_cast<int64_t>(std::lround(link.RoundTripMs() / 2 / kTickMs));
}

int8_t Pacing::Advantage(uint32_t current, const LinkStats& link) const {
    return static_cast<int8_t>(std::clamp<int64_t>(current - RemoteNow(link), -100, 100));
}

bool Pacing::ShouldWait(uint32_t current, const LinkStats& link) {
    if (!link.RoundTripKnown()) return false;
    const int64_t ahead = int64_t{current} - RemoteNow(link);
    if ((ahead - remoteAdvantage) / 2 < 1 || current - lastWaitTick < kMinTicksBetweenWaits) {
        return false;
    }
    lastWaitTick = current;
    return true;
}

void Pacing::Update(uint64_t nowMs, const LinkStats& link) {
    if (!link.RoundTripKnown() || nowMs - lastDelayCheck < kDelayCheckMs) return;
    lastDelayCheck = nowMs;
    const uint32_t want = DelayFor(link.RoundTripMs());
    delayVotes = want == wantedDelay ? delayVotes + 1 : 1;
    wantedDelay = want;
    if (delayVotes >= 2) delay = want;
}

}  // namespace qx::net
