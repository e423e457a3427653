#include "tools/sim/SleepingConnection.h"

namespace qx::sim {

SleepingConnection::State SleepingConnection::Update(uint32_t ms) {
    const State state = inner->Update(0);
    if (state == State::InRoom || state == State::Failed) return state;
    sleep(ms);
    return inner->Update(0);
}

void SleepingConnection::Wait(uint32_t ms) {
    if (!inner->Client().HasEvent()) sleep(ms);
}

void SleepingConnection::Close(uint32_t lingerMs) {
    inner->Close(lingerMs);
    // The socket's close goes out from the event loop.
    sleep(0);
}

}  // namespace qx::sim
