#include "net/ReplayPlayer.h"

namespace qx {
namespace {

const std::vector<ReplayEvent> kNoEvents;

}  // namespace

void ReplayPlayer::Mismatch(std::string detail) {
    if (failure) return;
    failure.code = ReplayError::Code::Mismatch;
    failure.tick = playing >= 0 ? playing : nextTick;
    failure.detail = std::move(detail);
}

bool ReplayPlayer::Step(ReplayTarget& game) {
    if (Done()) return false;
    playing = nextTick;
    const ReplayTick* events = nullptr;
    if (entry < replay.ticks.size()) {
        const ReplayTick& candidate = replay.ticks[entry];
        if (candidate.tick < playing) Mismatch("the ticks are out of order");
        if (candidate.tick == playing) {
            events = &candidate;
            ++entry;
        }
    }
    target = &game;
    cursor = {events ? &events->before : &kNoEvents, 0};
    PlayBefore();
    const std::vector<ReplayEvent>& during = events ? events->during : kNoEvents;
    if (playing == 0) {
        if (!during.empty()) Mismatch("tick 0 has no timer tick to play events in");
    } else if (!Failed() && game.State().timerRunning) {
        PlayTimerTick(during);
    } else if (!during.empty()) {
        Mismatch("events for a timer tick while the timer is stopped");
    }
    target = nullptr;
    playing = -1;
    ++nextTick;
    return !Failed();
}

void ReplayPlayer::PlayBefore() {
    while (!Failed() && !cursor.AtEnd()) {
        const ReplayEvent& event = (*cursor.events)[cursor.next++];
        if (event.kind != ReplayEventKind::Input) {
            Mismatch("a window is closed that the game did not open");
            return;
        }
        target->ApplyInput(event.input);
    }
}

void ReplayPlayer::PlayTimerTick(const std::vector<ReplayEvent>& during) {
    cursor = {&during, 0};
    target->RunTick();
    if (!Failed() && !cursor.AtEnd()) {
        Mismatch("the tick ended with events left that the game did not ask for");
    }
}

// Applies the inputs that came while a window was open, up to the event that
// closes it; nothing when the record does not close it there.
const ReplayEvent* ReplayPlayer::PlayUntil(ReplayEventKind closing, const char* window) {
    if (Failed() || !target) return nullptr;
    if (nesting >= kMaxNesting) {
        Mismatch("windows opened inside each other too deeply");
        return nullptr;
    }
    ++nesting;
    const ReplayEvent* found = nullptr;
    while (!Failed() && !cursor.AtEnd()) {
        const ReplayEvent& event = (*cursor.events)[cursor.next++];
        if (event.kind == closing) {
            found = &event;
            break;
        }
        if (event.kind != ReplayEventKind::Input) {
            Mismatch(std::string("another window is closed while ") + window + " is open");
            break;
        }
        target->ApplyInput(event.input);
    }
    --nesting;
    if (!found)
        Mismatch(std::string("the game opened ") + window + " that the record does not close");
    return found;
}

void ReplayPlayer::ShowEndOfGame(const std::string& caption, const std::string& text) {
    outer.ShowEndOfGame(caption, text);
    PlayUntil(ReplayEventKind::EndOfGameClosed, "the end-of-game box");
}

// Without a recorded answer the players stay as they are.
bool ReplayPlayer::RunNewGameDialog(PlayerChoice& choice) {
    if (const ReplayEvent* answer =
            PlayUntil(ReplayEventKind::DialogAnswer, "the New game dialog")) {
        choice = answer->answer;
    }
    return true;
}

}  // namespace qx
