// libFuzzer entry for the replay reader: any text must either be refused
// with a reason or read to a replay within the format's bounds that writes
// back and reads again to the same replay (its digest then matching); a
// short replay is also played, which must end with a verdict, never a crash
// or a hang.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "replay/ReplayCheck.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qx::ReplayError error;
    const auto replay = qx::ReadReplayText(text, error);
    if (!replay) {
        if (!error || error.Describe().empty()) __builtin_trap();
        return 0;
    }
    if (error || replay->tickCount > qx::Replay::kMaxTicks ||
        replay->EventCount() > qx::Replay::kMaxEvents) {
        __builtin_trap();
    }
    // Written back, the replay carries a digest that matches (version 2).
    std::ostringstream out;
    qx::WriteReplay(*replay, out);
    const auto again = qx::ReadReplayText(out.str(), error);
    qx::Replay intact = *replay;
    intact.damagedDigestLine = 0;
    if (!again || !(*again == intact)) __builtin_trap();
    if (replay->tickCount <= 2000) qx::CheckReplay(*replay);
    return 0;
}
