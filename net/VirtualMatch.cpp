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
        NetGameOptions o;
        o.peer.hosting = i == 0;
        o.peer.side = NetSide::Emperor;
        o.peer.seed = options.seed;
        o.peer.ticks = options.ticks;
        o.peer.syncTestTicks = options.syncTestTicks;
        o.tickMs = options.tickMs;
        machines[i] = std::make_unique<NetGame>(link.End(i), o);
        machines[i]->SetInputSource([this, i](uint32_t tick) { return inputs(i, tick); });
        listeners[i] = std::make_unique<Listener>(*this, i);
        machines[i]->SetConfirmedListener(listeners[i].get());
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
    while (link.Time() < until && !(machines[0]->Ended() && machines[1]->Ended())) Step();
}

// What a host does with the requests: the checksum of the start, and the
// end-of-game box closed when the test's rule says so.
void VirtualMatch::StepMachine(int index) {
    NetGame& machine = *machines[index];
    const uint64_t now = link.Time();
    for (const NetRequest& r : machine.Update(now)) {
        if (r.kind == NetRequest::Kind::Begin && options.keepChecksums) {
            checksums[index].push_back(machine.Session()->FrameOf(0).checksum);
        }
        if (r.kind == NetRequest::Kind::ShowEndBox) openEnd[index] = true;
    }
    if (openEnd[index] && (!dismiss || dismiss(index, now))) {
        openEnd[index] = false;
        machine.DismissEnd();
    }
}

}  // namespace qx::net
