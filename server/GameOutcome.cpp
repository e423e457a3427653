#include "server/GameOutcome.h"

#include "game/GameRules.h"
#include "game/StepInputs.h"
#include "net/MatchProtocol.h"
#include "net/NetEndOfGame.h"
#include "net/NetReplayRecorder.h"
#include "replay/ReplayWriter.h"

namespace qx::server {
namespace {

using Result = GameOutcome::Result;

// One side's inputs of ticks 1..count, decoded through the game's own
// decoder (as a spectator's feed is).
bool DecodeSide(net::NetSide side, const std::vector<uint8_t>& bytes, uint32_t count,
                std::vector<net::InputList>& out) {
    size_t pos = 0;
    uint32_t tick = 1;
    while (tick <= count) {
        size_t start = pos;
        uint8_t n = 0;
        for (; n < net::kMaxFeedTicks && tick + n <= count; ++n) {
            const size_t size = net::TickInputsSize(bytes.data() + pos, bytes.size() - pos);
            if (size == 0) return false;
            pos += size;
        }
        const std::vector<uint8_t> frame =
            net::EncodeFeed(side, tick, n, bytes.data() + start, pos - start);
        net::FeedFrame feed;
        const char* error = nullptr;
        if (!net::DecodeFeed(frame.data(), frame.size(), feed, error)) return false;
        out.insert(out.end(), feed.inputs.begin(), feed.inputs.end());
        tick += n;
    }
    return pos == bytes.size();
}

// Runs the game as both machines ran it and records it as they record it.
void Play(const FinishedGame& game, GameOutcome& outcome, int& emperorWins, int& rebelWins) {
    std::vector<net::InputList> emperor, rebel;
    uint32_t count = game.confirmed;
    if (!DecodeSide(net::NetSide::Emperor, game.inputs[0], count, emperor) ||
        !DecodeSide(net::NetSide::Rebel, game.inputs[1], count, rebel)) {
        count = 0;
        outcome.reason = "damaged";
    }
    GameState state = GameState::Start(game.seed, net::kNetPlayers);
    {
        GameRules rules(state, nullptr);
        rules.Repaint();
        rules.Apply(GameInput::NewGame(net::kNetPlayers));
    }
    net::NetReplayRecorder recorder;
    recorder.Begin(game.seed, state);
    net::Frame frame;
    for (uint32_t t = 0; t < count; ++t) {
        frame.emperor = emperor[t];
        frame.rebel = rebel[t];
        StepInputs step;
        step.before.insert(step.before.end(), frame.emperor.begin(), frame.emperor.end());
        step.before.insert(step.before.end(), frame.rebel.begin(), frame.rebel.end());
        RunStep(state, step);
        frame.ended = net::EndsGame(state);
        if (frame.ended) {
            ++(state.emperor.Wins() > state.rebel.Wins() ? outcome.emperorGames
                                                         : outcome.rebelGames);
            GameRules rules(state, nullptr);
            for (const GameInput& answer : net::EndOfGameAnswers()) rules.Apply(answer);
        }
        frame.state = state;
        recorder.Add(frame);
    }
    emperorWins = state.emperor.Wins();
    rebelWins = state.rebel.Wins();
    outcome.ticks = count;
    outcome.checksum = Checksum(state);
    outcome.replay = ReplayText(recorder.Finish());
}

Result Winner(int emperor, int rebel) {
    if (emperor == rebel) return Result::None;
    return emperor > rebel ? Result::EmperorWon : Result::RebelWon;
}

bool Broken(uint8_t bye) {
    return bye == static_cast<uint8_t>(net::ByeReason::Desync) ||
           bye == static_cast<uint8_t>(net::ByeReason::Refused);
}

}  // namespace

GameOutcome GameOutcome::Of(const FinishedGame& game) {
    GameOutcome outcome;
    int emperorWins = 0, rebelWins = 0;
    Play(game, outcome, emperorWins, rebelWins);
    const bool complete =
        game.agreedTicks > 0 && uint64_t{outcome.ticks} + kEndSlack >= game.agreedTicks;
    if (!outcome.reason.empty()) {
        // damaged inputs: nothing to judge
    } else if (!game.recordedAll) {
        outcome.reason = "not-recorded";
    } else if (complete) {
        outcome.reason = "played";
        outcome.result = Winner(outcome.emperorGames, outcome.rebelGames);
        if (outcome.result == Result::None) outcome.result = Winner(emperorWins, rebelWins);
        if (outcome.result == Result::None) outcome.result = Result::Draw;
    } else if (Broken(game.bye[0]) || Broken(game.bye[1])) {
        outcome.reason = "desync";
    } else if (game.firstOut >= 0) {
        const auto out = static_cast<size_t>(game.firstOut);
        if (game.silent[1 - out]) {
            outcome.reason = "both-silent";
        } else {
            outcome.reason = game.silent[out] ? "silent" : "left";
            outcome.result = out == 0 ? Result::RebelWon : Result::EmperorWon;
        }
    } else {
        outcome.reason = game.ending.empty() ? "unknown" : game.ending;
    }
    outcome.rated = (game.quick || game.ratedAsked) && game.agreedTicks > 0 &&
                    outcome.result != Result::None && game.players[0].Known() &&
                    game.players[1].Known() && game.players[0].keyHash != game.players[1].keyHash;
    return outcome;
}

const char* ResultText(GameOutcome::Result result) {
    switch (result) {
        case Result::EmperorWon:
            return "emperor";
        case Result::RebelWon:
            return "rebel";
        case Result::Draw:
            return "draw";
        case Result::None:
            break;
    }
    return "none";
}

}  // namespace qx::server
