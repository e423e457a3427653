#include "server/InputHistory.h"

#include <algorithm>

#include "net/MatchProtocol.h"

namespace qx::server {

bool InputHistory::Add(net::NetSide side, uint32_t tick, const net::InputList& list) {
    const size_t s = Index(side);
    if (full || tick != known[s] + 1) return false;
    if (tick > kMaxTicks || Bytes() + 1 + list.Size() * 5 > kMaxBytes) {
        full = true;
        return false;
    }
    if ((tick - 1) % kIndexStep == 0) index[s].push_back(static_cast<uint32_t>(bytes[s].size()));
    net::AppendTickInputs(list, bytes[s]);
    known[s] = tick;
    return true;
}

uint32_t InputHistory::Confirmed() const {
    return std::min(known[0], known[1]);
}

size_t InputHistory::Bytes() const {
    return bytes[0].size() + bytes[1].size();
}

uint32_t InputHistory::Read(net::NetSide side, uint32_t first, uint32_t count, uint32_t through,
                            std::vector<uint8_t>& out) const {
    const size_t s = Index(side);
    through = std::min(through, known[s]);
    if (first < 1 || first > through || count == 0) return 0;
    const std::vector<uint8_t>& data = bytes[s];
    size_t pos = index[s][(first - 1) / kIndexStep];
    for (uint32_t tick = (first - 1) / kIndexStep * kIndexStep + 1; tick < first; ++tick) {
        pos += net::TickInputsSize(data.data() + pos, data.size() - pos);
    }
    uint32_t taken = 0;
    const size_t start = pos;
    while (taken < count && first + taken <= through) {
        pos += net::TickInputsSize(data.data() + pos, data.size() - pos);
        ++taken;
    }
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(start),
               data.begin() + static_cast<std::ptrdiff_t>(pos));
    return taken;
}

}  // namespace qx::server
