#include "net/InputQueue.h"

namespace qx::net {

bool InputQueue::Push(uint32_t tick, const InputList& list) {
    if (tick != known + 1 || tick - floor > kCapacity) return false;
    lists[tick % kCapacity] = list;
    known = tick;
    return true;
}

bool InputQueue::Holds(uint32_t tick) const {
    return tick >= 1 && tick <= known && known - tick < kCapacity;
}

void InputQueue::Release(uint32_t tick) {
    if (tick > known) tick = known;
    if (tick > floor) floor = tick;
}

}  // namespace qx::net
