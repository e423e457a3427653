#pragma once

#include <array>
#include <cstdint>

namespace qx::net {

// The link as this machine measures it: the round trip (how long the other
// machine takes to acknowledge each tick's inputs) and the other machine's
// input packets that never came (gaps in their sequence numbers). All of it
// comes from the other machine's packets, so each figure is held to what a
// real link can produce: a sequence number far ahead of the others is not
// believed, and the losses never exceed the packets expected.
class LinkStats {
  public:
    // Late packets count while they are at most this far behind the highest.
    static constexpr uint32_t kSequenceWindow = 64;
    // A packet numbered further ahead than this is left out of the figures
    // (some 30 s of lost packets: the game would have ended long before).
    static constexpr uint32_t kMaxSequenceJump = 1024;
    static constexpr uint32_t kSentSlots = 64;

    // The inputs of `tick` went out for the first time at `nowMs`.
    void NoteFirstSent(uint32_t tick, uint64_t nowMs) { firstSentAt[tick % kSentSlots] = nowMs; }
    // The other machine acknowledged this machine's inputs up to `ack` for
    // the first time; `lastSent` is the highest tick sent so far.
    void NoteAck(uint32_t ack, uint32_t lastSent, uint64_t nowMs);
    // The round trip measured otherwise (the handshake's).
    void SetRoundTrip(double ms);
    // Counts an input packet by its sequence number.
    void CountSequence(uint32_t sequence);

    bool RoundTripKnown() const { return rttKnown; }
    double RoundTripMs() const { return rttMs; }
    // How far the round trip's samples stray from it, on average (as TCP's
    // round-trip variation).
    double JitterMs() const { return jitterMs; }
    // The longest round trip of late, forgotten slowly (it falls by a tenth
    // in some 100 samples, 3 s of play): how late the other machine's
    // inputs can come when a packet or a stream's segment is lost.
    double PeakRoundTripMs() const { return peakMs; }
    uint64_t PacketsLost() const;

  private:
    std::array<uint64_t, kSentSlots> firstSentAt{};
    double rttMs = 0;
    double jitterMs = 0;
    double peakMs = 0;
    bool rttKnown = false;

    bool anySequence = false;
    uint32_t firstSequence = 0;
    uint32_t highestSequence = 0;
    uint64_t seenWindow = 0;
    uint64_t counted = 0;
};

}  // namespace qx::net
