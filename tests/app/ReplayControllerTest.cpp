// Replays in the window: the game played is recorded and saved, a replay
// plays over the window while its own game stands still, a key, a click or
// the replay's end gives the game back, and bad files change nothing.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <memory>

#include "ConfigSandbox.h"
#include "ModalDriver.h"
#include "VirtualPad.h"
#include "app/MainWindow.h"
#include "game/GameRules.h"
#include "replay/ReplayCheck.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplayWriter.h"

namespace {

class ReplayControllerTest : public testing::Test {
  protected:
    void SetUp() override {
        frame = std::make_unique<MainWindow>();
        ModalDriver driver({[](QWidget* dialog) { ModalDriver::Press(dialog); }});
        frame->show();
        ASSERT_TRUE(ModalDriver::WaitUntil([&] { return driver.Done(); }));
        ASSERT_TRUE(ModalDriver::WaitUntil([] { return !QApplication::activeModalWidget(); }));
    }

    QString Path(const char* name) const { return dir.filePath(name); }
    ReplayController& Replays() { return frame->Replays(); }
    const qx::GameState& Live() { return frame->GetGame().State(); }

    // A replay of `ticks` ticks of two people, written to `name`.
    QString WriteReplay(const char* name, int ticks) {
        qx::ReplayRecorder recorder;
        qx::GameState state = qx::GameState::Start(4, {true, true});
        recorder.OnStart(4, {true, true});
        qx::GameRules rules(state, nullptr);
        for (const qx::GameInput& input :
             {qx::GameInput::NewGame(), qx::GameInput::PlayersChosen(std::nullopt)}) {
            recorder.OnInput(input);
            rules.Apply(input);
        }
        for (int tick = 1; tick <= ticks; ++tick) {
            recorder.OnTickStart(state);
            rules.Tick();
            recorder.OnTickEnd(state);
        }
        std::string error;
        EXPECT_TRUE(qx::SaveReplay(recorder.Finish(state), Path(name).toStdString(), error));
        return Path(name);
    }

    ConfigSandbox config;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> frame;
};

}  // namespace

TEST_F(ReplayControllerTest, TheGamePlayedIsSavedAndPlaysBackToTheSameState) {
    GameView& view = frame->View();
    for (int i = 0; i < 10; ++i) {
        QTest::mouseMove(&view, QPoint(20 + 30 * i, 200 - 10 * i));
        QTest::keyClick(&view, i % 2 ? Qt::Key_Left : Qt::Key_Space);
        QTest::qWait(35);
    }
    ASSERT_TRUE(Replays().SaveTo(Path("game.qxr")));
    qx::ReplayError error;
    const auto replay = qx::LoadReplay(Path("game.qxr").toStdString(), error);
    ASSERT_TRUE(replay) << error.Describe();
    EXPECT_GT(replay->tickCount, 5);
    EXPECT_GT(replay->EventCount(), 20);
    // The start-up: the New game command with its dialog's answer.
    ASSERT_FALSE(replay->ticks.empty());
    EXPECT_EQ(replay->ticks[0].tick, 0);
    EXPECT_EQ(replay->ticks[0].before.back(),
              qx::GameInput::PlayersChosen(qx::PlayerChoice{true, true}));
    qx::GameState end;
    error = qx::CheckReplay(*replay, &end);
    EXPECT_FALSE(error) << error.Describe();
    EXPECT_EQ(qx::Checksum(end), replay->finalChecksum);
    // Where the file cannot be written, a message; nothing else happens.
    ModalDriver driver({[](QWidget* box) { ModalDriver::Press(box); }});
    EXPECT_FALSE(Replays().SaveTo(Path("missing/game.qxr")));
    EXPECT_TRUE(driver.Done());
}

TEST_F(ReplayControllerTest, BadFilesGiveAMessageAndChangeNothing) {
    const std::string good = [&] {
        std::ifstream in(WriteReplay("good.qxr", 20).toStdString());
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }();
    const std::pair<std::string, QString> cases[] = {
        {"GIF89a\x01\x02", "neni zaznam"},
        {good.substr(0, good.size() / 2), "neuplny"},
        {"quarnex-replay 7\n", "jine verzi"},
        {"quarnex-replay 1\nseed 99999999999\n", "mimo povoleny rozsah (radek 2)"},
        {good.substr(0, good.rfind("end ") + 4) + "0000000000000000\n", "Kontrolni soucet"},
    };
    frame->OnGamePause();  // the game stands still for the comparison
    const QString title = frame->windowTitle();
    for (const auto& [text, expected] : cases) {
        std::ofstream(Path("bad.qxr").toStdString(), std::ios::trunc) << text;
        const uint64_t before = qx::Checksum(Live());
        QString message;
        ModalDriver driver({[&](QWidget* box) {
            message = qobject_cast<QMessageBox*>(box)->text();
            ModalDriver::Press(box);
        }});
        EXPECT_FALSE(Replays().PlayFrom(Path("bad.qxr")));
        EXPECT_TRUE(driver.Done());
        EXPECT_TRUE(message.startsWith("Zaznam nelze prehrat.")) << message.toStdString();
        EXPECT_TRUE(message.contains(expected)) << message.toStdString();
        EXPECT_FALSE(Replays().Playing());
        EXPECT_EQ(frame->windowTitle(), title);
        EXPECT_EQ(qx::Checksum(Live()), before);
    }
    QString missing;
    ModalDriver driver({[&](QWidget* box) {
        missing = qobject_cast<QMessageBox*>(box)->text();
        ModalDriver::Press(box);
    }});
    EXPECT_FALSE(Replays().PlayFrom(Path("nothing-here.qxr")));
    EXPECT_TRUE(missing.contains("nelze otevrit"));
}

TEST_F(ReplayControllerTest, AReplayPlaysOverTheStillGameUntilAKeyOrAClick) {
    const QString file = WriteReplay("long.qxr", 3000);
    for (const bool byKey : {true, false}) {
        const uint64_t live = qx::Checksum(Live());
        ASSERT_TRUE(Replays().PlayFrom(file));
        ASSERT_TRUE(Replays().Playing());
        EXPECT_FALSE(frame->TimerRunning());
        EXPECT_TRUE(frame->windowTitle().endsWith(" - prehravani zaznamu"));
        const uint64_t start = qx::Checksum(Replays().Playback()->PlayedGame().State());
        QTest::qWait(200);
        EXPECT_NE(qx::Checksum(Replays().Playback()->PlayedGame().State()), start);
        EXPECT_EQ(qx::Checksum(Live()), live) << "the window's game stands still";
        EXPECT_EQ(&frame->View().ShownGame(), &Replays().Playback()->PlayedGame());
        if (byKey) {
            QTest::keyClick(frame->windowHandle(), Qt::Key_Space);
        } else {
            QTest::mouseClick(&frame->View(), Qt::LeftButton);
        }
        EXPECT_FALSE(Replays().Playing());
        EXPECT_EQ(qx::Checksum(Live()), live) << "the key or click does not reach the game";
        EXPECT_TRUE(frame->TimerRunning());
        EXPECT_EQ(frame->windowTitle(), "Quarnex 2.00");
        QTest::qWait(50);
    }
}

TEST_F(ReplayControllerTest, APausedGameStaysPausedAfterAPlayback) {
    frame->OnGamePause();
    ASSERT_TRUE(frame->Paused());
    ASSERT_TRUE(Replays().PlayFrom(WriteReplay("paused.qxr", 100)));
    QTest::keyClick(frame->windowHandle(), Qt::Key_P);  // the pause key only ends the playback
    EXPECT_FALSE(Replays().Playing());
    EXPECT_TRUE(frame->Paused());
    EXPECT_FALSE(frame->TimerRunning());
}

TEST_F(ReplayControllerTest, AReplayThatEndsGivesTheGameBack) {
    ASSERT_TRUE(Replays().PlayFrom(WriteReplay("short.qxr", 10)));
    EXPECT_TRUE(ModalDriver::WaitUntil([&] { return !Replays().Playing(); }, 4000));
    EXPECT_TRUE(frame->TimerRunning());
    EXPECT_TRUE(frame->View().hasFocus() || !frame->isActiveWindow());
}

// A pad is one more way to press a key: it ends the playback and its button
// never reaches the game.
TEST_F(ReplayControllerTest, APadButtonEndsThePlaybackLikeAKey) {
    VirtualPad pad;
    ASSERT_TRUE(pad.Attached());
    frame->Gamepads().Poll();
    ASSERT_TRUE(Replays().PlayFrom(WriteReplay("pad.qxr", 3000)));
    const uint64_t live = qx::Checksum(Live());
    frame->Gamepads().SteerEmperor(100, 100);  // a stick's aim alone ends nothing
    EXPECT_TRUE(Replays().Playing());
    pad.Set(SDL_CONTROLLER_BUTTON_A, true);
    frame->Gamepads().Poll();
    pad.Set(SDL_CONTROLLER_BUTTON_A, false);
    frame->Gamepads().Poll();
    EXPECT_FALSE(Replays().Playing());
    EXPECT_EQ(qx::Checksum(Live()), live);
    EXPECT_TRUE(frame->TimerRunning());
    EXPECT_EQ(&frame->View().ShownGame(), &frame->GetGame());
}

// With the score shown, the title shows the replay's while it plays, and
// the game's own again after.
TEST_F(ReplayControllerTest, TheTitleShowsTheReplaysScoreWhileItPlays) {
    qx::Game& game = frame->GetGame();
    game.Apply(qx::GameInput::NewGame(qx::PlayerChoice{false, false}));
    const auto wins = [&] { return Live().emperor.Wins() + Live().rebel.Wins(); };
    for (int tick = 0; tick < 100000 && wins() == 0 && !game.Waiting(); ++tick) game.Tick();
    ASSERT_GT(wins(), 0);
    frame->OnGameShowScore(true);
    const QString own =
        QString("Quarnex 2.00 - %1 : %2").arg(Live().emperor.Wins()).arg(Live().rebel.Wins());
    EXPECT_EQ(frame->windowTitle(), own);
    ASSERT_TRUE(Replays().PlayFrom(WriteReplay("score.qxr", 3000)));
    EXPECT_EQ(frame->windowTitle(), "Quarnex 2.00 - 0 : 0 - prehravani zaznamu");
    Replays().StopPlayback();
    EXPECT_EQ(frame->windowTitle(), own);
}
