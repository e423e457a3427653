#include "net/RollbackSession.h"

#include <algorithm>

#include "game/GameRules.h"
#include "net/NetEndOfGame.h"
#include "net/SideInputs.h"

namespace qx::net {
namespace {

const InputList kNothing{};

}  // namespace

// Starts as the window starts a game: the start-up with both sides played by
// persons, the first full repaint and the New game command with that choice.
RollbackSession::RollbackSession(const SessionOptions& opts) : options(opts) {
    options.syncTestTicks = std::clamp(options.syncTestTicks, 0, kMaxSyncTestTicks);
    game.Start(options.seed, kNetPlayers);
    game.Repaint();
    game.Apply(GameInput::NewGame(kNetPlayers));
    Frame& start = FrameAt(0);
    start.state = game.State();
    start.checksum = Checksum(start.state);
}

bool RollbackSession::AddLocalInput(const InputList& list) {
    InputList own;
    for (const GameInput& in : list) {
        if (BelongsToSide(options.localSide, in)) {
            own.Add(in);
        } else {
            ++stats.droppedLocalInputs;
        }
    }
    return local.Push(NextLocalTick(), own);
}

void RollbackSession::SetPrediction(uint32_t ticks) {
    prediction = std::clamp<uint32_t>(ticks, 1, kMaxPrediction);
}

bool RollbackSession::RemoteListAllowed(const InputList& list) const {
    return std::all_of(list.begin(), list.end(),
                       [&](const GameInput& in) { return BelongsToSide(RemoteSide(), in); });
}

RollbackSession::Remote RollbackSession::AddRemoteInput(uint32_t tick, const InputList& list) {
    if (tick <= remote.KnownThrough()) return Remote::Known;
    if (tick != remote.KnownThrough() + 1) return Remote::Gap;
    if (!RemoteListAllowed(list) || !remote.Push(tick, list)) return Remote::Refused;
    if (tick <= current) {
        const Frame& ran = FrameAt(tick);
        const InputList& used = RemoteSide() == NetSide::Emperor ? ran.emperor : ran.rebel;
        if (!(used == list) && (firstWrong == 0 || tick < firstWrong)) firstWrong = tick;
    }
    return Remote::Taken;
}

void RollbackSession::Synchronize() {
    if (firstWrong != 0) RollBack();
    Confirm();
}

RollbackSession::Step RollbackSession::Advance() {
    if (!failure.empty()) return Step::Failed;
    Synchronize();
    if (options.lastTick != 0 && current >= options.lastTick) return Step::Finished;
    if (FrameAt(current).ended && current > 0) {
        if (current > confirmed) return Step::EndUnconfirmed;
        if (localDismissedEnd < current || remoteDismissedEnd < current) return Step::EndBoxOpen;
    }
    if (local.KnownThrough() <= current) return Step::NeedLocalInput;
    if (current + 1 > remote.KnownThrough() + prediction) return Step::TooFarAhead;
    RunTick(++current);
    if (options.syncTestTicks > 0 && !SyncTest(current)) return Step::Failed;
    Confirm();
    return Step::Ran;
}

uint32_t RollbackSession::OpenEnd() const {
    const bool waiting = current > 0 && current <= confirmed && FrameOf(current).ended &&
                         localDismissedEnd < current;
    return waiting ? current : 0;
}

void RollbackSession::DismissEnd() {
    if (const uint32_t end = OpenEnd()) localDismissedEnd = end;
}

void RollbackSession::SetRemoteDismissedEnd(uint32_t tick) {
    remoteDismissedEnd = std::max(remoteDismissedEnd, tick);
}

namespace {

// The step of a tick: the Emperor side's inputs, then the Rebel side's.
StepInputs StepOf(const Frame& frame) {
    StepInputs step;
    step.before.insert(step.before.end(), frame.emperor.begin(), frame.emperor.end());
    step.before.insert(step.before.end(), frame.rebel.begin(), frame.rebel.end());
    return step;
}

// Notes whether the tick ended a game (its box's caption and text for the
// window), then takes the tick on past the meeting point.
void SettleEnd(Frame& frame, GameState& state, DrawSink* sink) {
    frame.ended = EndsGame(state);
    if (frame.ended) {
        frame.endCaption = GameWait::EndOfGameCaption();
        frame.endText = state.wait.EndOfGameText();
        GameRules rules(state, sink);
        for (const GameInput& answer : EndOfGameAnswers()) rules.Apply(answer);
    }
}

}  // namespace

// One tick as shown: the inputs and the tick drawn on the window's game.
void RollbackSession::RunTick(uint32_t tick) {
    Frame& frame = FrameAt(tick);
    const InputList& mine = local.At(tick);
    frame.predicted = !remote.Holds(tick);
    const InputList& theirs = frame.predicted ? kNothing : remote.At(tick);
    frame.emperor = options.localSide == NetSide::Emperor ? mine : theirs;
    frame.rebel = options.localSide == NetSide::Emperor ? theirs : mine;
    if (frame.predicted) ++stats.predictedTicks;
    game.Step(StepOf(frame));
    frame.ended = EndsGame(game.State());
    if (frame.ended) {
        frame.endCaption = GameWait::EndOfGameCaption();
        frame.endText = game.State().wait.EndOfGameText();
        for (const GameInput& answer : EndOfGameAnswers()) game.Apply(answer);
    }
    frame.state = game.State();
}

// One tick run again on `state` without drawing, with the frame's inputs.
void RollbackSession::ReRun(GameState& state, Frame& frame) {
    RunStep(state, StepOf(frame));
    SettleEnd(frame, state, nullptr);
}

void RollbackSession::RollBack() {
    const uint32_t from = firstWrong;
    firstWrong = 0;
    RunAgainFrom(from, true);
    const int32_t length = static_cast<int32_t>(current - from + 1);
    ++stats.rollbacks;
    stats.rolledBackTicks += length;
    stats.largestRollback = std::max(stats.largestRollback, length);
}

void RollbackSession::RunAgainFrom(uint32_t from, bool show) {
    if (from == 0 || from > current || current - from + 1 >= kFrames) return;
    GameState state = FrameAt(from - 1).state;
    for (uint32_t tick = from; tick <= current; ++tick) {
        Frame& frame = FrameAt(tick);
        frame.predicted = !remote.Holds(tick);
        const InputList& theirs = frame.predicted ? kNothing : remote.At(tick);
        (RemoteSide() == NetSide::Emperor ? frame.emperor : frame.rebel) = theirs;
        ReRun(state, frame);
        frame.state = state;
    }
    game.Restore(state);
    if (show) game.ShowState();
}

void RollbackSession::Confirm() {
    const uint32_t target = std::min(current, remote.KnownThrough());
    while (confirmed < target) {
        Frame& frame = FrameAt(++confirmed);
        frame.checksum = Checksum(frame.state);
        if (listener) listener->OnConfirmed(confirmed, frame);
    }
    remote.Release(confirmed);
}

bool RollbackSession::SyncTest(uint32_t tick) {
    const uint32_t depth = std::min(tick, static_cast<uint32_t>(options.syncTestTicks));
    GameState state = FrameAt(tick - depth).state;
    for (uint32_t t = tick - depth + 1; t <= tick; ++t) {
        Frame check = FrameAt(t);
        ReRun(state, check);
    }
    const GameState& live = FrameAt(tick).state;
    if (state == live) return true;
    failure = "sync test: tick " + std::to_string(tick) + " differs when run again from " +
              std::to_string(depth) + " ticks back: " + FirstDifference(live, state);
    return false;
}

}  // namespace qx::net
