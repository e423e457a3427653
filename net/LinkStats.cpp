#include "net/LinkStats.h"

#include <algorithm>
#include <cmath>

namespace qx::net {

void LinkStats::NoteAck(uint32_t ack, uint32_t lastSent, uint64_t nowMs) {
    if (ack > lastSent || lastSent - ack >= kSentSlots) return;
    const uint64_t sentAt = firstSentAt[ack % kSentSlots];
    if (sentAt > nowMs) return;
    const double sample = static_cast<double>(nowMs - sentAt);
    if (rttKnown) jitterMs = jitterMs * 0.9 + std::abs(sample - rttMs) * 0.1;
    rttMs = rttKnown ? rttMs * 0.9 + sample * 0.1 : sample;
    peakMs = std::max(peakMs * 0.999, sample);
    rttKnown = true;
}

void LinkStats::SetRoundTrip(double ms) {
    rttMs = ms;
    rttKnown = true;
}

// Each sequence number counts once, late ones too while they are within the
// window behind the highest seen.
void LinkStats::CountSequence(uint32_t seq) {
    if (!anySequence) {
        anySequence = true;
        firstSequence = highestSequence = seq;
        seenWindow = 1;
        ++counted;
    } else if (seq > highestSequence) {
        const uint32_t shift = seq - highestSequence;
        if (shift > kMaxSequenceJump) return;
        seenWindow = (shift >= kSequenceWindow ? 0 : seenWindow << shift) | 1;
        highestSequence = seq;
        ++counted;
    } else if (seq >= firstSequence && highestSequence - seq < kSequenceWindow) {
        const uint64_t bit = uint64_t{1} << (highestSequence - seq);
        if ((seenWindow & bit) == 0) ++counted;
        seenWindow |= bit;
    }
}

uint64_t LinkStats::PacketsLost() const {
    if (!anySequence) return 0;
    const uint64_t expected = uint64_t{highestSequence} - firstSequence + 1;
    return expected > counted ? expected - counted : 0;
}

}  // namespace qx::net
