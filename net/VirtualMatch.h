#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "net/MemoryLink.h"
#include "net/NetGame.h"

namespace qx::net {

struct VirtualMatchOptions {
    LinkFaults faults;
    uint32_t seed = 1;  // the game's seed, drawn by the host
    uint32_t ticks = 1000;
    int32_t syncTestTicks = 0;
    uint32_t tickMs = 30;  // each machine's pace; 0: as fast as the link allows
    bool keepChecksums = true;
};

// Two machines playing one network game over a MemoryLink on a virtual
// clock: machine 0 hosts as the Emperor, machine 1 joins as the Rebel. Each
// is the NetGame every host runs, updated every virtual millisecond. For tests,
// benchmarks and soak runs: hours of play take seconds, and every run with
// the same options is the same.
class VirtualMatch {
  public:
    // The inputs of machine `index`'s player for a tick.
    using Inputs = std::function<InputList(int index, uint32_t tick)>;
    // Called on each machine's every confirmed tick.
    using Confirmed = std::function<void(int index, uint32_t tick, const Frame& frame)>;

    VirtualMatch(const VirtualMatchOptions& options, Inputs inputs);
    ~VirtualMatch();

    // Runs one virtual millisecond.
    void Step();
    // Steps until both machines have ended or `limitMs` virtual ms passed.
    void Run(uint64_t limitMs);

    NetGame& Peer(int index) { return *machines[index & 1]; }
    MemoryLink& Link() { return link; }
    uint64_t Now() const { return link.Time(); }
    // Each machine's checksums of its confirmed ticks, from tick 0.
    const std::vector<uint64_t>& Checksums(int index) const { return checksums[index & 1]; }

    void OnConfirmed(Confirmed callback) { confirmed = std::move(callback); }
    // Machine `index` closes the end-of-game box only when this says so
    // (by default at once).
    void DismissWhen(std::function<bool(int index, uint64_t nowMs)> rule) {
        dismiss = std::move(rule);
    }
    // Machine `index` stops doing anything (as a machine that hangs).
    void Freeze(int index) { frozen[index & 1] = true; }

  private:
    class Listener;
    void StepMachine(int index);

    VirtualMatchOptions options;
    Inputs inputs;
    MemoryLink link;
    std::array<std::unique_ptr<NetGame>, 2> machines;
    std::array<std::unique_ptr<Listener>, 2> listeners;
    std::array<std::vector<uint64_t>, 2> checksums;
    std::array<bool, 2> frozen{};
    std::array<bool, 2> openEnd{};
    Confirmed confirmed;
    std::function<bool(int, uint64_t)> dismiss;
};

}  // namespace qx::net
