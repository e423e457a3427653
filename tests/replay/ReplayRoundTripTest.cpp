// Games recorded as they are played come back exactly: through the file and
// the player, tick for tick, including games that end in the middle of a
// tick, answers that change the players and inputs that come while a modal
// window is open.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "game/Game.h"
#include "replay/ReplayCheck.h"
#include "replay/ReplayGameTarget.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplayWriter.h"
#include "tests/replay/AnsweringHost.h"

using namespace qx;

namespace {

struct Recording {
    Replay replay;
    std::vector<uint64_t> checksums;  // after tick 0, 1, ...
    int endBoxes = 0;
};

// Plays `ticks` ticks in a window-like game: the start-up repaint and New
// game, then `inputs(tick, game)` before each tick.
Recording Record(uint32_t seed, PlayerChoice players, int64_t ticks, AnsweringHost& host,
                 const std::function<void(int64_t, Game&)>& inputs) {
    ReplayRecorder recorder;
    Game game;
    game.SetObserver(&recorder);
    game.SetClientSize(300, 200);
    game.Start(seed, players);
    game.Repaint();
    host.NewGame(game);
    recorder.EndStartUp(game.State());
    Recording result;
    result.checksums.push_back(Checksum(game.State()));
    for (int64_t tick = 1; tick <= ticks; ++tick) {
        inputs(tick, game);
        host.Answer(game);
        host.Tick(game);
        result.checksums.push_back(Checksum(game.State()));
    }
    result.replay = recorder.Finish(game.State());
    result.endBoxes = host.endBoxes;
    return result;
}

Replay ThroughText(const Replay& replay) {
    std::ostringstream out;
    WriteReplay(replay, out);
    ReplayError error;
    const auto back = ReadReplayText(out.str(), error);
    EXPECT_TRUE(back.has_value()) << error.Describe();
    return back.value_or(Replay{});
}

std::vector<uint64_t> Play(const Replay& replay, int* endBoxes = nullptr) {
    ReplayPlayer player(replay);
    Game game;
    game.SetClientSize(200, 100);
    game.Start(replay.seed, replay.players);
    ReplayGameTarget target(game);
    std::vector<uint64_t> checksums;
    while (player.Step(target)) checksums.push_back(Checksum(game.State()));
    EXPECT_FALSE(player.Failed()) << player.Failure().Describe();
    if (endBoxes) *endBoxes = static_cast<int>(player.GamesEnded());
    return checksums;
}

void ExpectRoundTrip(const Recording& recorded) {
    const Replay back = ThroughText(recorded.replay);
    EXPECT_EQ(back, recorded.replay);
    int endBoxes = 0;
    EXPECT_EQ(Play(back, &endBoxes), recorded.checksums);
    EXPECT_EQ(endBoxes, recorded.endBoxes);
    const ReplayError check = CheckReplay(back);
    EXPECT_FALSE(check) << check.Describe();
}

}  // namespace

TEST(ReplayRoundTrip, PeopleOnBothSidesWithEveryKindOfInput) {
    AnsweringHost host;
    const Recording recorded = Record(13, {true, true}, 1500, host, [](int64_t tick, Game& game) {
        if (tick % 7 == 0)
            AnsweringHost::MoveMouse(game, static_cast<int32_t>(tick * 37 % 300), 150);
        if (tick % 11 == 0) game.Apply(GameInput::Fire(Weapon::Forward));
        if (tick % 13 == 0) game.Apply(GameInput::Fire(Weapon::Down));
        if (tick % 5 == 0) game.Apply(GameInput::Key(static_cast<GameKey>(tick / 5 % 14)));
        if (tick % 97 == 0) game.Repaint();
        if (tick == 700) game.Apply(GameInput::NewGame(PlayerChoice{true, false}));
        if (tick == 900) game.Apply(GameInput::Fire(Weapon::Up));
        if (tick == 1000) game.Apply(GameInput::Target(-5, 100000));
    });
    EXPECT_EQ(recorded.replay.tickCount, 1500);
    ExpectRoundTrip(recorded);
}

TEST(ReplayRoundTrip, GamesThatEndWithAnswersThatChangeThePlayers) {
    AnsweringHost host;
    // The first game's end brings the computer to the Emperor's side; the
    // repaint while the windows are open is recorded where it happened.
    host.answers = {{true, false}, {false, false}, {true, false}};
    Game* live = nullptr;
    host.whileOpen = [&live] {
        if (live) live->Repaint();
    };
    const Recording recorded =
        Record(5, {true, false}, 6000, host, [&live](int64_t, Game& game) { live = &game; });
    ASSERT_GE(recorded.endBoxes, 1) << "the scenario must end a game";
    EXPECT_TRUE(host.answers.size() < 3);
    ExpectRoundTrip(recorded);
}

TEST(ReplayRoundTrip, NewGameAskedFromTheMenuWithTheAnswerAndARepaintInside) {
    AnsweringHost host;
    host.answers = {{true, true}, {false, true}};
    Game* live = nullptr;
    host.whileOpen = [&live] {
        if (live) live->Repaint();
    };
    const Recording recorded =
        Record(21, {false, false}, 400, host, [&live](int64_t tick, Game& game) {
            live = &game;
            if (tick == 200) game.Apply(GameInput::NewGame());
        });
    ExpectRoundTrip(recorded);
}

TEST(ReplayRoundTrip, RecorderWithoutATickKeepsTheStartUpAndDropsInputsAfterTheLastTick) {
    AnsweringHost host;
    ReplayRecorder recorder;
    Game game;
    game.SetObserver(&recorder);
    game.Start(9, {true, true});
    game.Repaint();
    host.NewGame(game);
    Replay startUp = recorder.Finish(game.State());
    EXPECT_EQ(startUp.tickCount, 0);
    ASSERT_EQ(startUp.ticks.size(), 1u);
    EXPECT_EQ(startUp.ticks[0].before.size(), 3u);  // repaint, New game, answer
    EXPECT_FALSE(CheckReplay(startUp));

    game.Tick();  // the first timer tick ends the start-up
    const uint64_t afterTick = Checksum(game.State());
    AnsweringHost::MoveMouse(game, 10, 10);
    game.Repaint();
    const Replay finished = recorder.Finish(game.State());
    EXPECT_EQ(finished.tickCount, 1);
    EXPECT_EQ(finished.finalChecksum, afterTick);
    EXPECT_FALSE(CheckReplay(finished));
}

// A replay that lost a line parts from its game: it is refused at the first
// checkpoint after the damage, naming that tick.
TEST(ReplayRoundTrip, ADamagedReplayIsRefusedWhereItPartsFromItsGame) {
    AnsweringHost host;
    const Recording recorded = Record(13, {true, true}, 1500, host, [](int64_t tick, Game& game) {
        if (tick % 7 == 0)
            AnsweringHost::MoveMouse(game, static_cast<int32_t>(tick * 37 % 300), 150);
        if (tick % 11 == 0) game.Apply(GameInput::Fire(Weapon::Forward));
    });
    Replay damaged = recorded.replay;
    const auto lost = std::find_if(damaged.ticks.begin(), damaged.ticks.end(),
                                   [](const ReplayTick& t) { return t.tick > 500; });
    ASSERT_NE(lost, damaged.ticks.end());
    const int64_t lostTick = lost->tick;
    damaged.ticks.erase(lost);
    const ReplayError error = CheckReplay(ThroughText(damaged));
    EXPECT_EQ(error.code, ReplayError::Code::Diverged) << error.Describe();
    EXPECT_GE(error.tick, lostTick);
    EXPECT_LT(error.tick, lostTick + Replay::kCheckpointEvery * 3);
    EXPECT_EQ(error.tick % Replay::kCheckpointEvery, 0);
}

// Every one-byte damage to a written file is refused, whether or not it
// would change the game: the reader's bounds, the checkpoints (naming the
// tick) or the file's digest find it. A file without its digest line (one
// written before there was one) still plays.
TEST(ReplayRoundTrip, EveryDamagedByteOfAFileIsRefused) {
    AnsweringHost host;
    const Recording recorded = Record(29, {true, true}, 5000, host, [](int64_t tick, Game& game) {
        if (tick % 3 == 0)
            AnsweringHost::MoveMouse(game, static_cast<int32_t>(tick * 37 % 300), 150);
        if (tick % 4 == 0) game.Apply(GameInput::Key(static_cast<GameKey>(tick / 4 % 14)));
        if (tick % 9 == 0) game.Apply(GameInput::Fire(Weapon::Forward));
    });
    std::ostringstream out;
    WriteReplay(recorded.replay, out);
    const std::string text = out.str();
    const auto verdict = [](const std::string& file) {
        ReplayError error;
        const auto replay = ReadReplayText(file, error);
        return replay ? CheckReplay(*replay) : error;
    };
    ASSERT_FALSE(verdict(text)) << verdict(text).Describe();

    // Every byte of the event lines between two checkpoints and of the
    // closing lines, each changed to two others.
    const size_t from = text.find("\ncheck 2040 ") + 1;
    const size_t to = text.find("\ncheck 2100 ");
    const size_t closing = text.rfind("\nend ") + 1;
    ASSERT_LT(from, to);
    const std::string others = "0123456789 -,|TKFNRAEcdfhn\t\r\n";
    int damages = 0;
    int diverged = 0;
    int digestOnly = 0;
    for (size_t at = from; at < text.size(); at = at + 1 == to ? closing : at + 1) {
        for (size_t k = 0; k < 2; ++k) {
            std::string damaged = text;
            damaged[at] = others[(at * 7 + k * 11) % others.size()];
            if (damaged[at] == text[at]) damaged[at] = static_cast<char>(text[at] ^ 0x01);
            const ReplayError error = verdict(damaged);
            ASSERT_TRUE(error) << "byte " << at << " changed to '" << damaged[at] << "' plays";
            ++damages;
            if (at >= closing && error.code == ReplayError::Code::Malformed) ++digestOnly;
            if (error.code == ReplayError::Code::Diverged) {
                ++diverged;
                EXPECT_EQ(error.tick % Replay::kCheckpointEvery, 0) << error.Describe();
            }
        }
    }
    EXPECT_GT(damages, 500);
    EXPECT_GT(diverged, 0);    // the checkpoints still name where a game parts
    EXPECT_GT(digestOnly, 0);  // the digest finds what plays the same

    const std::string withoutDigest = text.substr(0, text.rfind("digest "));
    EXPECT_FALSE(verdict(withoutDigest)) << verdict(withoutDigest).Describe();
}
