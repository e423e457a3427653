#include "net/VirtualMatch.h"

namespace qx::net {

class VirtualMatch::Listener : public ConfirmedListener {
  public:
    Listener(VirtualMatch& match, int index) : match(match), index(index) {}
    void OnConfirmed(uint32_t tick, const Frame& frame) override {
        if (match.options.keepChecksums) match.checksums[index].push_back(frame.checksum);
        if (match.confirmed) match.confirmed(index, tick, frame);
    }

  private:
    VirtualMatch& match;
    int index;
};

VirtualMatch::VirtualMatch(const VirtualMatchOptions& opts, Inputs source)
    : options(opts), inputs(std::move(source)), link(opts.faults) {
    for (int i = 0; i < 2; ++i) {
        PeerOptions po;
        po.hosting = i == 0;
        po.side = NetSide::Emperor;
        po.seed = options.seed;
        po.ticks = options.ticks;
        po.syncTestTicks = options.syncTestTicks;
        peers[i] = std::make_unique<NetPeer>(link.End(i), po);
        listeners[i] = std::make_unique<Listener>(*this, i);
    }
}

VirtualMatch::~VirtualMatch() = default;

void VirtualMatch::Step() {
    link.SetTime(link.Time() + 1);
    for (int i = 0; i < 2; ++i) {
        if (!frozen[i]) StepMachine(i);
    }
}

void VirtualMatch::Run(uint64_t limitMs) {
    const uint64_t until = link.Time() + limitMs;
    while (link.Time() < until && !(peers[0]->Ended() && peers[1]->Ended())) Step();
}

void VirtualMatch::StepMachine(int index) {
    NetPeer& peer = *peers[index];
    const uint64_t now = link.Time();
    peer.Pump(now);
    RollbackSession* session = peer.Session();
    if (!session || peer.Ended()) return;
    if (!begun[index]) {
        begun[index] = true;
        session->SetListener(listeners[index].get());
        if (options.keepChecksums) checksums[index].push_back(session->FrameOf(0).checksum);
        nextTickAt[index] = now;
    }
    if (session->OpenEnd() && (!dismiss || dismiss(index, now))) session->DismissEnd();
    while (peer.WantsLocalInput()) {
        if (!session->AddLocalInput(inputs(index, session->NextLocalTick()))) break;
    }
    if (options.tickMs == 0) {
        for (int n = 0; n < 4 && peer.Advance(now) == RollbackSession::Step::Ran; ++n) {
        }
        return;
    }
    if (now < nextTickAt[index]) return;
    nextTickAt[index] += options.tickMs;
    if (!peer.ShouldWaitForOther()) peer.Advance(now);
}

}  // namespace qx::net
