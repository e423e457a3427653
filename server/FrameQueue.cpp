#include "server/FrameQueue.h"

#include <algorithm>

namespace qx::server {

void FrameQueue::Push(const uint8_t* data, size_t size) {
    if (count == slots.size()) {
        // Full: the ring is laid out oldest first and grows at its end.
        std::rotate(slots.begin(), slots.begin() + static_cast<std::ptrdiff_t>(head), slots.end());
        head = 0;
        slots.emplace_back();
    }
    size_t tail = head + count;
    if (tail >= slots.size()) tail -= slots.size();
    std::vector<uint8_t>& slot = slots[tail];
    slot.assign(data, data + size);
    ++count;
    bytes += size;
}

void FrameQueue::Pop() {
    bytes -= slots[head].size();
    if (++head == slots.size()) head = 0;
    --count;
}

}  // namespace qx::server
