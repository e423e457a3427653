// quarnex-netsoak: two machines play one long network game inside this
// process, over a link that delays (with jitter), drops and doubles
// datagrams, on a virtual clock with 30 ms ticks; both players make inputs
// at random. Prints whether the machines ever differed, the rollbacks and
// the bytes sent each way.
//
//   quarnex-netsoak [--ticks N] [--seed N] [--max-delay MS] [--drop PERCENT]
//                   [--duplicate PERCENT] [--sync-test K]
//
// Exit status 0 when both machines confirmed every tick with equal
// checksums, 1 otherwise, 2 for bad arguments.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "net/RandomPlayer.h"
#include "net/VirtualMatch.h"

namespace {

using namespace qx::net;

bool Number(const char* text, uint64_t max, uint64_t& value) {
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (*text == '\0' || *end != '\0' || text[0] == '-' || parsed > max) return false;
    value = parsed;
    return true;
}

bool Parse(int argc, char** argv, VirtualMatchOptions& options) {
    for (int i = 1; i + 1 < argc + 1; i += 2) {
        if (i + 1 >= argc) return false;
        const std::string name = argv[i];
        uint64_t v = 0;
        if (name == "--ticks" && Number(argv[i + 1], kMaxTick, v)) {
            options.ticks = static_cast<uint32_t>(v);
        } else if (name == "--seed" && Number(argv[i + 1], 0xFFFFFFFF, v)) {
            options.seed = static_cast<uint32_t>(v);
            options.faults.seed = v + 1;
        } else if (name == "--max-delay" && Number(argv[i + 1], 10000, v)) {
            options.faults.maxDelayMs = static_cast<uint32_t>(v);
        } else if (name == "--drop" && Number(argv[i + 1], 100, v)) {
            options.faults.dropPercent = static_cast<uint32_t>(v);
        } else if (name == "--duplicate" && Number(argv[i + 1], 100, v)) {
            options.faults.duplicatePercent = static_cast<uint32_t>(v);
        } else if (name == "--sync-test" && Number(argv[i + 1], 16, v)) {
            options.syncTestTicks = static_cast<int32_t>(v);
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
    if (!Parse(argc, argv, options) || options.ticks == 0) {
        std::fprintf(stderr,
                     "usage: quarnex-netsoak [--ticks N] [--seed N] [--max-delay MS] "
                     "[--drop PERCENT] [--duplicate PERCENT] [--sync-test K]\n");
        return 2;
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
    match.Run(uint64_t{options.ticks} * 30 * 4 + 600000);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;

    const std::vector<uint64_t>& a = match.Checksums(0);
    const std::vector<uint64_t>& b = match.Checksums(1);
    int64_t differing = 0;
    for (size_t t = 0; t < a.size() && t < b.size(); ++t) differing += a[t] != b[t];
    const bool complete = a.size() == options.ticks + 1u && b.size() == options.ticks + 1u;
    const double seconds = static_cast<double>(match.Now()) / 1000;
    std::printf(
        "%u ticks (%.0f s of play, %.1f s here), %lld games ended; link %u-%u ms, "
        "%u%% dropped, %u%% doubled\n",
        options.ticks, seconds, wall.count(), static_cast<long long>(gamesEnded),
        options.faults.minDelayMs, options.faults.maxDelayMs, options.faults.dropPercent,
        options.faults.duplicatePercent);
    for (int i = 0; i < 2; ++i) {
        NetPeer& peer = match.Peer(i);
        const SessionStats& s = peer.Session()->Stats();
        const PeerFigures f = peer.Figures();
        std::printf(
            "%s: end %d, rollbacks %lld (%.2f/s), ticks run again %lld (%.2f/s), largest "
            "%d, predicted ticks %lld, packets lost %llu, bytes sent %.0f/s\n",
            i == 0 ? "emperor" : "rebel  ", static_cast<int>(peer.End()),
            static_cast<long long>(s.rollbacks), s.rollbacks / seconds,
            static_cast<long long>(s.rolledBackTicks), s.rolledBackTicks / seconds,
            s.largestRollback, static_cast<long long>(s.predictedTicks),
            static_cast<unsigned long long>(f.packetsLost), f.bytesSent / seconds);
    }
    const bool ok = complete && differing == 0 && match.Peer(0).End() == PeerEnd::Done &&
                    match.Peer(1).End() == PeerEnd::Done;
    std::printf("desyncs: %lld ticks with differing checksums; %s\n",
                static_cast<long long>(differing), ok ? "both done" : "NOT both done");
    return ok ? 0 : 1;
}
