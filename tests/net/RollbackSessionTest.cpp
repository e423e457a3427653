#include <gtest/gtest.h>

#include "net/RollbackSession.h"

namespace qx::net {
namespace {

InputList Of(std::initializer_list<GameInput> inputs) {
    InputList list;
    for (const GameInput& in : inputs) list.Add(in);
    return list;
}

// The Emperor's machine runs ahead of the Rebel's inputs, then learns them.
TEST(RollbackSession, WrongPredictionsAreRunAgainAndEndWhereKnownInputsEnd) {
    SessionOptions options;
    options.seed = 5;
    RollbackSession ahead(options);
    RollbackSession knowing(options);
    const InputList steer = Of({GameInput::Target(100, 60), GameInput::Fire(Weapon::Forward)});
    const InputList rebelKeys = Of({GameInput::Key(GameKey::Up), GameInput::Key(GameKey::Space)});
    for (uint32_t tick = 1; tick <= 6; ++tick) {
        const InputList mine = tick == 1 ? steer : InputList{};
        const InputList theirs = tick == 3 ? rebelKeys : InputList{};
        ASSERT_TRUE(ahead.AddLocalInput(mine));
        ASSERT_EQ(ahead.Advance(), RollbackSession::Step::Ran);
        ASSERT_TRUE(knowing.AddLocalInput(mine));
        ASSERT_EQ(knowing.AddRemoteInput(tick, theirs), RollbackSession::Remote::Taken);
        ASSERT_EQ(knowing.Advance(), RollbackSession::Step::Ran);
    }
    EXPECT_EQ(ahead.ConfirmedTick(), 0u);
    EXPECT_EQ(knowing.ConfirmedTick(), 6u);
    EXPECT_NE(ahead.GetGame().State(), knowing.GetGame().State());

    // Ticks 1 and 2 were predicted right; tick 3 was not: 3..6 run again.
    for (uint32_t tick = 1; tick <= 6; ++tick) {
        EXPECT_EQ(ahead.AddRemoteInput(tick, tick == 3 ? rebelKeys : InputList{}),
                  RollbackSession::Remote::Taken);
    }
    EXPECT_EQ(ahead.AddRemoteInput(6, InputList{}), RollbackSession::Remote::Known);
    EXPECT_EQ(ahead.AddRemoteInput(9, InputList{}), RollbackSession::Remote::Gap);
    EXPECT_EQ(ahead.AddRemoteInput(7, Of({GameInput::Target(1, 1)})),
              RollbackSession::Remote::Refused);
    ahead.Synchronize();
    EXPECT_EQ(ahead.GetGame().State(), knowing.GetGame().State());
    EXPECT_EQ(ahead.ConfirmedTick(), 6u);
    EXPECT_EQ(ahead.Stats().rollbacks, 1);
    EXPECT_EQ(ahead.Stats().largestRollback, 4);
    for (uint32_t tick = 0; tick <= 6; ++tick) {
        EXPECT_EQ(ahead.FrameOf(tick).checksum, knowing.FrameOf(tick).checksum) << tick;
    }
    // The window shows the same picture as a machine that never guessed.
    ahead.GetGame().SetClientSize(300, 200);
    knowing.GetGame().SetClientSize(300, 200);
    ahead.GetGame().ShowState();
    knowing.GetGame().ShowState();
    EXPECT_TRUE(ahead.GetGame().Screen() == knowing.GetGame().Screen());
}

TEST(RollbackSession, WaitsForItsOwnInputsAndStopsEightTicksAhead) {
    SessionOptions options;
    options.localSide = NetSide::Rebel;
    options.lastTick = 30;
    RollbackSession session(options);
    EXPECT_EQ(session.Advance(), RollbackSession::Step::NeedLocalInput);
    // Inputs that are not the Rebel's are left out.
    ASSERT_TRUE(session.AddLocalInput(Of({GameInput::Target(5, 5), GameInput::Key(GameKey::Up)})));
    EXPECT_EQ(session.LocalInputs().At(1), Of({GameInput::Key(GameKey::Up)}));
    EXPECT_EQ(session.Stats().droppedLocalInputs, 1);
    for (int i = 0; i < 20; ++i) session.AddLocalInput({});
    int ran = 0;
    while (session.Advance() == RollbackSession::Step::Ran) ++ran;
    EXPECT_EQ(ran, static_cast<int>(RollbackSession::kDefaultPrediction));
    EXPECT_EQ(session.Advance(), RollbackSession::Step::TooFarAhead);
    for (uint32_t tick = 1; tick <= 30; ++tick) session.AddRemoteInput(tick, {});
    for (int i = 0; i < 20; ++i) session.AddLocalInput({});
    while (session.Advance() == RollbackSession::Step::Ran) {
    }
    EXPECT_EQ(session.Advance(), RollbackSession::Step::Finished);
    EXPECT_EQ(session.CurrentTick(), 30u);
    EXPECT_EQ(session.ConfirmedTick(), 30u);
}

}  // namespace
}  // namespace qx::net
