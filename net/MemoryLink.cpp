#include "net/MemoryLink.h"

#include <algorithm>

namespace qx::net {
namespace {

// Datagrams in flight toward one end at most; more are lost, as a full
// network buffer would lose them.
constexpr size_t kMaxInFlight = 4096;

}  // namespace

class MemoryLink::Endpoint : public Transport {
  public:
    Endpoint(MemoryLink& link, int side) : link(link), side(side) {}

    LinkEvent Poll(std::vector<uint8_t>& data) override {
        if (!announced) {
            announced = true;
            return LinkEvent::Connected;
        }
        if (closed) return LinkEvent::None;
        auto next = std::min_element(inbox.begin(), inbox.end(), [](const auto& a, const auto& b) {
            return a.due != b.due ? a.due < b.due : a.order < b.order;
        });
        if (next == inbox.end() || next->due > link.now) return LinkEvent::None;
        const bool closing = next->closing;
        data = std::move(next->data);
        inbox.erase(next);
        if (closing) {
            closed = true;
            return LinkEvent::Disconnected;
        }
        received += data.size();
        return LinkEvent::Received;
    }

    void Send(const std::vector<uint8_t>& data, bool reliable) override {
        if (closed) return;
        sent += data.size();
        link.Carry(1 - side, data, reliable, false);
    }

    void Wait(uint32_t) override {}

    void Close(uint32_t) override {
        if (closed) return;
        closed = true;
        link.Carry(1 - side, {static_cast<uint8_t>(LinkClose::Left)}, true, true);
    }

    uint64_t BytesSent() const override { return sent; }
    uint64_t BytesReceived() const override { return received; }
    uint64_t Oversized() const override { return 0; }

    std::vector<InFlight> inbox;

  private:
    MemoryLink& link;
    int side;
    bool announced = false;
    bool closed = false;
    uint64_t sent = 0;
    uint64_t received = 0;
};

MemoryLink::MemoryLink(const LinkFaults& f) : faults(f), rng(f.seed | 1) {
    ends[0] = std::make_unique<Endpoint>(*this, 0);
    ends[1] = std::make_unique<Endpoint>(*this, 1);
}

MemoryLink::~MemoryLink() = default;

Transport& MemoryLink::End(int side) {
    return *ends[side & 1];
}

uint32_t MemoryLink::Random(uint32_t below) {
    rng ^= rng << 13;
    rng ^= rng >> 7;
    rng ^= rng << 17;
    return below == 0 ? 0 : static_cast<uint32_t>(rng % below);
}

uint64_t MemoryLink::OutageEnd(int to, uint64_t at) const {
    uint64_t until = 0;
    for (const LinkOutage& o : faults.outages) {
        if (at < o.startMs) continue;
        const uint64_t since = at - o.startMs;
        const uint64_t round = o.everyMs == 0 ? 0 : since / o.everyMs;
        if (o.everyMs == 0 && since >= o.lengthMs) continue;
        const uint64_t into = o.everyMs == 0 ? since : since % o.everyMs;
        if (into >= o.lengthMs) continue;
        bool cut = true;
        switch (o.toward) {
            case LinkOutage::Toward::Both:
                break;
            case LinkOutage::Toward::End0:
                cut = to == 0;
                break;
            case LinkOutage::Toward::End1:
                cut = to == 1;
                break;
            case LinkOutage::Toward::Alternate:
                cut = static_cast<uint64_t>(to) == round % 2;
                break;
        }
        if (cut) until = std::max(until, at - into + o.lengthMs);
    }
    return until;
}

void MemoryLink::Carry(int to, const std::vector<uint8_t>& data, bool reliable, bool closing) {
    std::vector<InFlight>& inbox = ends[to]->inbox;
    const uint32_t spread = faults.maxDelayMs - std::min(faults.minDelayMs, faults.maxDelayMs);
    uint64_t due = now + faults.minDelayMs + Random(spread + 1);
    const uint64_t outageEnd = OutageEnd(to, now);
    if (faults.stream) {
        // A lost segment is sent again after the retransmission time; the
        // stream hands over nothing behind it until then.
        if (Random(100) < faults.dropPercent) due += faults.retransmitMs;
        if (outageEnd != 0) due = std::max(due, outageEnd + (due - now));
        due = std::max(due, lastReliableDue[to]);
        lastReliableDue[to] = due;
    } else if (reliable) {
        // Reliable messages keep their order, as ENet's reliable channel
        // does, and get through once an outage is over.
        if (outageEnd != 0) due = std::max(due, outageEnd + (due - now));
        due = std::max(due, lastReliableDue[to]);
        lastReliableDue[to] = due;
    } else if (outageEnd != 0) {
        ++dropped;
        ++blackedOut;
        return;
    } else if (Random(100) < faults.dropPercent) {
        ++dropped;
        return;
    }
    if (inbox.size() >= kMaxInFlight) {
        ++dropped;
        return;
    }
    inbox.push_back({due, order++, data, closing});
    if (!reliable && !faults.stream && Random(100) < faults.duplicatePercent &&
        inbox.size() < kMaxInFlight) {
        inbox.push_back({due + Random(spread + 1), order++, data, false});
    }
}

}  // namespace qx::net
