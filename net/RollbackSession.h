#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "game/Game.h"
#include "net/InputList.h"
#include "net/InputQueue.h"
#include "net/Packet.h"

namespace qx::net {

struct SessionOptions {
    NetSide localSide = NetSide::Emperor;
    uint32_t seed = 0;
    uint32_t lastTick = 0;  // the game stops after this tick; 0: never
    // Each tick, re-run this many ticks from their snapshot without drawing
    // and check the state comes out the same (0: off).
    int32_t syncTestTicks = 0;
};

// One tick as the session ran it: the state after it, both sides' inputs
// (the remote side's possibly predicted) and whether it ended a game.
struct Frame {
    GameState state;
    InputList emperor;
    InputList rebel;
    bool predicted = false;
    bool ended = false;
    uint64_t checksum = 0;  // set once the tick is confirmed
    std::string endCaption;
    std::string endText;
};

struct SessionStats {
    int64_t rollbacks = 0;
    int64_t rolledBackTicks = 0;  // ticks run again after a wrong prediction
    int32_t largestRollback = 0;
    int64_t predictedTicks = 0;
    int64_t droppedLocalInputs = 0;  // inputs that were not this side's
};

// What the confirmed ticks go to: the trace, the replay, the checksum
// exchange, the end-of-game box.
class ConfirmedListener {
  public:
    virtual ~ConfirmedListener() = default;
    virtual void OnConfirmed(uint32_t tick, const Frame& frame) = 0;
};

// Both machines run the whole game. Each tick applies the Emperor side's
// inputs, then the Rebel side's, then the game tick. The local side's inputs
// are known; the other side's arrive later, so a tick runs at once with a
// prediction of them: nothing new, that is the other ship keeps flying to
// the target it last had (steering lives in the state, so this is "the same
// as last tick"); one-shot presses (shots, keys, New game) are never guessed.
// When the real inputs differ, the state of the tick before the first wrong
// one is restored, the ticks since are run again without drawing, and the
// game shows the current state from the state alone. A tick whose inputs are
// all known is confirmed; confirmed ticks are the same on both machines.
//
// At most the prediction budget (kDefaultPrediction ticks unless the host
// sets it from the link, up to kMaxPrediction) runs ahead of the other
// side's inputs; past that the session waits. A tick that ends a game is a meeting point: no
// tick after it runs until it is confirmed, and then not until both players
// have closed the end-of-game box (DismissEnd here, the other's through
// SetRemoteDismissedEnd), so the box shows on both machines at the same
// tick and the new game starts on both together.
class RollbackSession {
  public:
    static constexpr uint32_t kFrames = 32;
    static constexpr uint32_t kDefaultPrediction = 8;
    static constexpr uint32_t kMaxPrediction = 16;
    static constexpr int32_t kMaxSyncTestTicks = 16;

    enum class Step {
        Ran,             // one more tick
        NeedLocalInput,  // the local side's inputs for the next tick are missing
        TooFarAhead,     // the prediction budget ahead of the other side
        EndUnconfirmed,  // the game ended in a tick not yet confirmed
        EndBoxOpen,      // a player has not closed the end-of-game box yet
        Finished,        // the last tick has run
        Failed,          // the sync test found a difference (see Failure())
    };

    enum class Remote { Taken, Known, Gap, Refused };

    explicit RollbackSession(const SessionOptions& options);
    RollbackSession(const RollbackSession&) = delete;
    RollbackSession& operator=(const RollbackSession&) = delete;

    // The game the window shows: forward ticks draw on it; after a rollback
    // it shows the current state.
    Game& GetGame() { return game; }
    const Game& GetGame() const { return game; }
    NetSide LocalSide() const { return options.localSide; }
    NetSide RemoteSide() const { return OtherSide(options.localSide); }
    const SessionOptions& Options() const { return options; }

    uint32_t CurrentTick() const { return current; }
    uint32_t ConfirmedTick() const { return confirmed; }
    // The tick the next local inputs are for.
    uint32_t NextLocalTick() const { return local.KnownThrough() + 1; }
    const InputQueue& LocalInputs() const { return local; }
    uint32_t RemoteKnownThrough() const { return remote.KnownThrough(); }
    // How many ticks may run ahead of the other side's inputs (1 to
    // kMaxPrediction).
    void SetPrediction(uint32_t ticks);
    uint32_t Prediction() const { return prediction; }

    // The local side's inputs for NextLocalTick(); inputs that are not this
    // side's are left out. False when the queue cannot take it yet.
    bool AddLocalInput(const InputList& list);
    // The other machine holds the local inputs up to `tick`.
    void ReleaseLocalInputs(uint32_t tick) { local.Release(tick); }

    // Whether every input in the list may come from the other side.
    bool RemoteListAllowed(const InputList& list) const;
    // The other side's inputs for `tick`; ticks must come in order (Gap
    // otherwise); Known for a tick already held.
    Remote AddRemoteInput(uint32_t tick, const InputList& list);

    // Runs the ticks again from the first wrongly predicted one, if any, and
    // confirms the ticks whose inputs are all known.
    void Synchronize();
    // Synchronizes, then runs the next tick if nothing holds it back.
    Step Advance();
    // Runs the ticks from `tick` (at most kFrames - 1 back) to the current
    // one again from the snapshot before it, without drawing, with the
    // inputs known now; then, when `show`, draws the current state from the
    // state alone. What a wrong prediction costs.
    void RunAgainFrom(uint32_t tick, bool show);

    // The confirmed tick that ended a game and waits for the local player
    // to close its box (0: none).
    uint32_t OpenEnd() const;
    void DismissEnd();
    uint32_t LocalDismissedEnd() const { return localDismissedEnd; }
    void SetRemoteDismissedEnd(uint32_t tick);

    // The frame of a tick from CurrentTick() - kFrames + 1 to CurrentTick().
    const Frame& FrameOf(uint32_t tick) const { return frames[tick % kFrames]; }
    bool HoldsFrame(uint32_t tick) const { return tick <= current && current - tick < kFrames; }

    void SetListener(ConfirmedListener* value) { listener = value; }
    const SessionStats& Stats() const { return stats; }
    const std::string& Failure() const { return failure; }

  private:
    void RunTick(uint32_t tick);
    void ReRun(GameState& state, Frame& frame);
    void RollBack();
    void Confirm();
    bool SyncTest(uint32_t tick);
    Frame& FrameAt(uint32_t tick) { return frames[tick % kFrames]; }

    SessionOptions options;
    Game game;
    std::array<Frame, kFrames> frames{};
    InputQueue local;
    InputQueue remote;
    uint32_t current = 0;
    uint32_t confirmed = 0;
    uint32_t prediction = kDefaultPrediction;
    uint32_t firstWrong = 0;  // the earliest tick run with a wrong prediction; 0: none
    uint32_t localDismissedEnd = 0;
    uint32_t remoteDismissedEnd = 0;
    ConfirmedListener* listener = nullptr;
    SessionStats stats;
    std::string failure;
};

}  // namespace qx::net
