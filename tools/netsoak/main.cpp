// quarnex-netsoak: two machines play one long network game inside this
// process, over a link that delays (with jitter), drops and doubles
// datagrams, and now and then loses everything for a while (bursts both
// ways, blackouts one way at a time), on a virtual clock with 30 ms ticks;
// both players make inputs at random. Prints whether the machines ever
// differed or ended the game early, the rollbacks and the bytes sent each
// way.
//
//   quarnex-netsoak [--ticks N] [--seed N] [--min-delay MS] [--max-delay MS]
//                   [--drop PERCENT] [--duplicate PERCENT] [--sync-test K]
//                   [--stream 0|1] [--retransmit MS]
//                   [--burst MS] [--burst-every S] [--blackout MS] [--blackout-every S]
//
// A burst loses every datagram both ways for MS milliseconds, one every S
// seconds; a blackout loses those toward one machine, the other one the
// next time. With --stream 1 the link is a byte stream (a WebSocket): a
// "dropped" message comes --retransmit ms late and holds all after it. Each
// machine's pace is its ticks per second of virtual time; a stall is a gap
// of more than one tick's length between two of its ticks. Exit status 0 when both machines
// confirmed every tick with equal checksums and neither ended the game early, 1 otherwise, 2 for
// bad arguments.
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "net/RandomPlayer.h"
#include "net/VirtualMatch.h"

namespace {

using namespace qx::net;

// One machine's pace: when its ticks ran, and the gaps longer than a tick.
struct Pace {
    uint32_t lastTick = 0;
    uint64_t firstAt = 0;
    uint64_t lastAt = 0;
    int64_t stalls = 0;
    uint64_t stalledMs = 0;

    void Note(uint32_t tick, uint64_t nowMs) {
        if (tick == lastTick) return;
        if (lastTick == 0) firstAt = nowMs;
        if (lastTick != 0 && nowMs - lastAt > 45) {
            ++stalls;
            stalledMs += nowMs - lastAt - 30;
        }
        lastTick = tick;
        lastAt = nowMs;
    }
    double TicksPerSecond() const {
        return lastAt > firstAt ? (lastTick - 1) * 1000.0 / static_cast<double>(lastAt - firstAt)
                                : 0;
    }
};

bool Number(const char* text, uint64_t max, uint64_t& value) {
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (*text == '\0' || *end != '\0' || text[0] == '-' || parsed > max) return false;
    value = parsed;
    return true;
}

struct Outages {
    uint64_t burstMs = 0;
    uint64_t burstEvery = 60;
    uint64_t blackoutMs = 0;
    uint64_t blackoutEvery = 120;
};

bool Parse(int argc, char** argv, VirtualMatchOptions& options, Outages& outages) {
    for (int i = 1; i + 1 < argc + 1; i += 2) {
        if (i + 1 >= argc) return false;
        const std::string name = argv[i];
        uint64_t v = 0;
        if (name == "--ticks" && Number(argv[i + 1], kMaxTick, v)) {
            options.ticks = static_cast<uint32_t>(v);
        } else if (name == "--seed" && Number(argv[i + 1], 0xFFFFFFFF, v)) {
            options.seed = static_cast<uint32_t>(v);
            options.faults.seed = v + 1;
        } else if (name == "--min-delay" && Number(argv[i + 1], 10000, v)) {
            options.faults.minDelayMs = static_cast<uint32_t>(v);
        } else if (name == "--stream" && Number(argv[i + 1], 1, v)) {
            options.faults.stream = v == 1;
        } else if (name == "--retransmit" && Number(argv[i + 1], 10000, v)) {
            options.faults.retransmitMs = static_cast<uint32_t>(v);
        } else if (name == "--max-delay" && Number(argv[i + 1], 10000, v)) {
            options.faults.maxDelayMs = static_cast<uint32_t>(v);
        } else if (name == "--drop" && Number(argv[i + 1], 100, v)) {
            options.faults.dropPercent = static_cast<uint32_t>(v);
        } else if (name == "--duplicate" && Number(argv[i + 1], 100, v)) {
            options.faults.duplicatePercent = static_cast<uint32_t>(v);
        } else if (name == "--sync-test" && Number(argv[i + 1], 16, v)) {
            options.syncTestTicks = static_cast<int32_t>(v);
        } else if (name == "--burst" && Number(argv[i + 1], 60000, v)) {
            outages.burstMs = v;
        } else if (name == "--burst-every" && Number(argv[i + 1], 86400, v) && v > 0) {
            outages.burstEvery = v;
        } else if (name == "--blackout" && Number(argv[i + 1], 60000, v)) {
            outages.blackoutMs = v;
        } else if (name == "--blackout-every" && Number(argv[i + 1], 86400, v) && v > 0) {
            outages.blackoutEvery = v;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    VirtualMatchOptions options;
    options.ticks = 1000000;
    options.faults.maxDelayMs = 150;
    options.faults.dropPercent = 10;
    options.faults.duplicatePercent = 5;
    Outages outages;
    if (!Parse(argc, argv, options, outages) || options.ticks == 0 ||
        outages.burstMs >= outages.burstEvery * 1000 ||
        outages.blackoutMs >= outages.blackoutEvery * 1000) {
        std::fprintf(stderr,
                     "usage: quarnex-netsoak [--ticks N] [--seed N] [--max-delay MS] "
                     "[--drop PERCENT] [--duplicate PERCENT] [--sync-test K] [--burst MS] "
                     "[--burst-every S] [--blackout MS] [--blackout-every S]\n"
                     "(a burst or blackout shorter than the time between two)\n");
        return 2;
    }
    // The first outages come once the game runs, the blackouts between the
    // bursts.
    if (outages.burstMs > 0) {
        options.faults.outages.push_back(
            {outages.burstEvery * 1000, static_cast<uint32_t>(outages.burstMs),
             static_cast<uint32_t>(outages.burstEvery * 1000), LinkOutage::Toward::Both});
    }
    if (outages.blackoutMs > 0) {
        options.faults.outages.push_back(
            {outages.blackoutEvery * 1000 / 2 + 10000, static_cast<uint32_t>(outages.blackoutMs),
             static_cast<uint32_t>(outages.blackoutEvery * 1000), LinkOutage::Toward::Alternate});
    }
    RandomPlayer emperor(NetSide::Emperor, options.seed * 2 + 1);
    RandomPlayer rebel(NetSide::Rebel, options.seed * 2 + 2);
    VirtualMatch match(options, [&](int index, uint32_t tick) {
        return index == 0 ? emperor.InputsFor(tick) : rebel.InputsFor(tick);
    });
    int64_t gamesEnded = 0;
    match.OnConfirmed([&](int index, uint32_t, const Frame& frame) {
        if (index == 0 && frame.ended) ++gamesEnded;
    });
    const auto start = std::chrono::steady_clock::now();
    std::array<Pace, 2> pace;
    const uint64_t limit = uint64_t{options.ticks} * 30 * 4 + 600000;
    while (match.Now() < limit && !(match.Peer(0).Ended() && match.Peer(1).Ended())) {
        match.Step();
        for (int i = 0; i < 2; ++i) {
            if (const RollbackSession* s = match.Peer(i).Session())
                pace[i].Note(s->CurrentTick(), match.Now());
        }
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;

    const std::vector<uint64_t>& a = match.Checksums(0);
    const std::vector<uint64_t>& b = match.Checksums(1);
    int64_t differing = 0;
    for (size_t t = 0; t < a.size() && t < b.size(); ++t) differing += a[t] != b[t];
    const bool complete = a.size() == options.ticks + 1u && b.size() == options.ticks + 1u;
    const double seconds = static_cast<double>(match.Now()) / 1000;
    std::printf(
        "%u ticks (%.0f s of play, %.1f s here), %lld games ended; link %u-%u ms, "
        "%u%% dropped, %u%% doubled, bursts %llu ms every %llu s, blackouts %llu ms every "
        "%llu s (%llu datagrams lost to them)\n",
        options.ticks, seconds, wall.count(), static_cast<long long>(gamesEnded),
        options.faults.minDelayMs, options.faults.maxDelayMs, options.faults.dropPercent,
        options.faults.duplicatePercent, static_cast<unsigned long long>(outages.burstMs),
        static_cast<unsigned long long>(outages.burstEvery),
        static_cast<unsigned long long>(outages.blackoutMs),
        static_cast<unsigned long long>(outages.blackoutEvery),
        static_cast<unsigned long long>(match.Link().BlackedOut()));
    for (int i = 0; i < 2; ++i) {
        auto& peer = match.Peer(i);
        const SessionStats& s = peer.Session()->Stats();
        const PeerFigures f = peer.Figures();
        std::printf(
            "%s: %.2f ticks/s, %lld stalls (%.1f s), end %d, rollbacks %lld (%.2f/s), ticks run "
            "again %lld (%.2f/s), largest "
            "%d, predicted ticks %lld, packets lost %llu, bytes sent %.0f/s\n",
            i == 0 ? "emperor" : "rebel  ", pace[i].TicksPerSecond(),
            static_cast<long long>(pace[i].stalls), pace[i].stalledMs / 1000.0,
            static_cast<int>(peer.End()), static_cast<long long>(s.rollbacks),
            s.rollbacks / seconds, static_cast<long long>(s.rolledBackTicks),
            s.rolledBackTicks / seconds, s.largestRollback,
            static_cast<long long>(s.predictedTicks),
            static_cast<unsigned long long>(f.packetsLost), f.bytesSent / seconds);
    }
    int falseEnds = 0;
    for (int i = 0; i < 2; ++i) falseEnds += match.Peer(i).End() != PeerEnd::Done;
    const bool ok = complete && differing == 0 && falseEnds == 0;
    std::printf(
        "desyncs: %lld ticks with differing checksums; false ends: %d (confirmed %zu "
        "and %zu of %u ticks); %s\n",
        static_cast<long long>(differing), falseEnds, a.size() - 1, b.size() - 1, options.ticks,
        ok ? "both done" : "NOT both done");
    return ok ? 0 : 1;
}
